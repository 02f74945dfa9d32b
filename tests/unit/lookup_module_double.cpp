// A lookup module for the tests: its lookup finds one window.

#include "platform/linux/lookup_module.h"

namespace {
class OneWindow : public kazunavi::WindowLookup {
  public:
    std::vector<kazunavi::BrowserWindow> lookUp() override {
        return {kazunavi::BrowserWindow{42, u"http://module/", 0}};
    }
};
}  // namespace

extern "C" __attribute__((visibility("default"))) void kazunaviMakeFrontBrowserLookup(
    std::unique_ptr<kazunavi::WindowLookup>& made) {
    made = std::make_unique<OneWindow>();
}
