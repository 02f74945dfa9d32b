#pragma once

// The lookup of the browser window in front, loaded when first needed. The
// code that asks the accessibility bus and reads the browsers' stores (GIO,
// SQLite and what they bring) is a module of its own: while the window in
// front is none, one of this program's or one that names no process, no
// browser window can be in front, and the module stays unloaded. So a start,
// with the program's own window in front, costs none of it.

#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/common/latest_browser_windows.h"
#include "platform/linux/cancel_signal.h"
#include "platform/x11/x11_windows.h"

namespace kazunavi {

class DeferredLookup : public WindowLookup {
  public:
    // Makes the real lookup; nullptr when it cannot be had (it said why).
    using Load = std::function<std::unique_ptr<WindowLookup>()>;

    explicit DeferredLookup(Load load);
    ~DeferredLookup() override;
    DeferredLookup(const DeferredLookup&) = delete;
    DeferredLookup& operator=(const DeferredLookup&) = delete;

    std::vector<BrowserWindow> lookUp() override;
    void cancel() override;
    bool answerHolds() const override;
    void awaitChange() override;

  private:
    // Whether another program's window is in front, as far as X tells.
    bool othersWindowInFront();

    Load load_;
    bool loadTried_ = false;
    std::unique_ptr<WindowLookup> loaded_;  // written on the lookup thread only
    OwnX11Windows windows_;                 // until loaded
    std::uint64_t seenChanges_ = 0;
    bool holds_ = false;
    CancelSignal cancelled_;
    std::mutex mutex_;  // cancel() comes from another thread
    bool cancelledFlag_ = false;
};

// The lookup of the browser window in front that the program uses: the
// module beside the program, loaded when first needed. Runs on the lookup
// thread, which it names.
std::unique_ptr<WindowLookup> deferredFrontBrowserLookup();

}  // namespace kazunavi
