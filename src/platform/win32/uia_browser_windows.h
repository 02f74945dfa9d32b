#pragma once

// The browser window in front on Windows, read from its page's document or
// its address bar through UI Automation on a thread of its own, so that a
// browser that hangs never holds the window's tick. Where there is no UI
// Automation (Wine) no window is ever listed.

#include "platform/common/latest_browser_windows.h"

namespace kazunavi {

class UiaBrowserWindows : public LatestBrowserWindows {
  public:
    UiaBrowserWindows();
};

}  // namespace kazunavi
