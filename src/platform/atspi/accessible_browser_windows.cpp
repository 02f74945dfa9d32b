#include "platform/atspi/accessible_browser_windows.h"

#include "platform/atspi/front_browser_lookup.h"

namespace kazunavi {

AccessibleBrowserWindows::AccessibleBrowserWindows()
    : LatestBrowserWindows([] { return std::make_unique<FrontBrowserLookup>(); }) {}

}  // namespace kazunavi
