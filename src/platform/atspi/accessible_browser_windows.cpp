#include "platform/atspi/accessible_browser_windows.h"

#include <pthread.h>

#include "platform/atspi/front_browser_lookup.h"

namespace kazunavi {

AccessibleBrowserWindows::AccessibleBrowserWindows()
    : LatestBrowserWindows([] {
          // Named for the tools that list threads (top -H, /proc/PID/task).
          pthread_setname_np(pthread_self(), "kazunavi-lookup");
          return std::make_unique<FrontBrowserLookup>();
      }) {}

}  // namespace kazunavi
