#pragma once

// The module kazunavi-lookup.so beside the program: the lookup of the browser
// window in front on the accessibility bus and in the browsers' stores.

#include <filesystem>
#include <memory>

#include "platform/common/latest_browser_windows.h"

namespace kazunavi {

// The function the module offers, by this name.
using MakeLookup = void(std::unique_ptr<WindowLookup>& made);
inline constexpr char kMakeLookupName[] = "kazunaviMakeFrontBrowserLookup";

// Loads a module (once; it stays) and makes its lookup; nullptr, with the
// reason on standard error, when the module cannot be loaded.
std::unique_ptr<WindowLookup> loadLookupModule(const std::filesystem::path& module);
// The program's own module, beside it.
std::unique_ptr<WindowLookup> loadFrontBrowserLookup();

}  // namespace kazunavi
