// The entry of the module kazunavi-lookup.so, which the program loads when it
// first needs to look up the browser window in front.

#include <type_traits>

#include "platform/atspi/front_browser_lookup.h"
#include "platform/linux/lookup_module.h"

extern "C" __attribute__((visibility("default"))) void kazunaviMakeFrontBrowserLookup(
    std::unique_ptr<kazunavi::WindowLookup>& made) {
    made = std::make_unique<kazunavi::FrontBrowserLookup>();
}

static_assert(std::is_same_v<decltype(kazunaviMakeFrontBrowserLookup), kazunavi::MakeLookup>);
