#pragma once

// The program's browser windows: the one in front, as the accessibility bus
// shows it, looked up off the window's thread.

#include "platform/common/latest_browser_windows.h"

namespace kazunavi {

class AccessibleBrowserWindows : public LatestBrowserWindows {
  public:
    AccessibleBrowserWindows();
};

}  // namespace kazunavi
