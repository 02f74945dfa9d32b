#include "platform/linux/lookup_module.h"

#include <dlfcn.h>

#include <cstdio>
#include <system_error>

namespace kazunavi {

std::unique_ptr<WindowLookup> loadLookupModule(const std::filesystem::path& module) {
    // Never unloaded: its threads and GLib's types outlive any lookup.
    void* handle = ::dlopen(module.c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
    void* entry = handle != nullptr ? ::dlsym(handle, kMakeLookupName) : nullptr;
    if (entry == nullptr) {
        std::fprintf(stderr,
                     "kazunavi: %s: the browser window in front cannot be captured (KEEP)\n",
                     handle == nullptr ? ::dlerror() : "the module offers no lookup");
        return nullptr;
    }
    std::unique_ptr<WindowLookup> made;
    reinterpret_cast<MakeLookup*>(entry)(made);
    return made;
}

std::unique_ptr<WindowLookup> loadFrontBrowserLookup() {
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    return loadLookupModule(program.parent_path() / "kazunavi-lookup.so");
}

}  // namespace kazunavi
