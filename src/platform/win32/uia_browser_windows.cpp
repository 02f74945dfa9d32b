#include "platform/win32/uia_browser_windows.h"

#include "platform/common/address_bar_lookup.h"
#include "platform/win32/uia_desktop.h"

namespace kazunavi {

UiaBrowserWindows::UiaBrowserWindows()
    : LatestBrowserWindows(
          [] { return std::make_unique<AddressBarLookup>(std::make_unique<UiaDesktop>()); }) {}

}  // namespace kazunavi
