#include "platform/x11/deferred_lookup.h"

#include <pthread.h>

#include "platform/linux/lookup_module.h"

namespace kazunavi {

namespace {
// A wait for another window in front ends after this long at the latest.
constexpr auto kRecheck = std::chrono::seconds(5);
}  // namespace

DeferredLookup::DeferredLookup(Load load) : load_(std::move(load)) {}

DeferredLookup::~DeferredLookup() = default;

bool DeferredLookup::othersWindowInFront() {
    X11Windows* windows = windows_.open();
    if (windows == nullptr) {
        return false;
    }
    // Counted before anything is read: a change reported meanwhile ends a
    // wait at once.
    seenChanges_ = windows->reportedChanges();
    return windows->othersActiveWindow().has_value();
}

std::vector<BrowserWindow> DeferredLookup::lookUp() {
    if (!loaded_) {
        // Looked at also after a failed load: the wait for a change needs it.
        if (!othersWindowInFront() || loadTried_) {
            holds_ = windows_.get() != nullptr && windows_.get()->reportsActiveWindow();
            return {};
        }
        loadTried_ = true;
        std::unique_ptr<WindowLookup> made = load_();
        const std::lock_guard lock(mutex_);
        loaded_ = std::move(made);
        if (loaded_) {
            // The loaded lookup watches the windows itself.
            windows_.close();
            if (cancelledFlag_) {
                loaded_->cancel();
            }
        }
    }
    if (!loaded_) {
        return {};
    }
    return loaded_->lookUp();
}

void DeferredLookup::cancel() {
    const std::lock_guard lock(mutex_);
    cancelledFlag_ = true;
    if (loaded_) {
        loaded_->cancel();
    }
    cancelled_.cancel();
}

bool DeferredLookup::answerHolds() const {
    return loaded_ ? loaded_->answerHolds() : holds_;
}

void DeferredLookup::awaitChange() {
    if (loaded_) {
        loaded_->awaitChange();
    } else if (X11Windows* windows = windows_.get()) {
        windows->awaitReport(seenChanges_, std::chrono::steady_clock::now() + kRecheck,
                             cancelled_.descriptor());
    }
}

std::unique_ptr<WindowLookup> deferredFrontBrowserLookup() {
    // Named for the tools that list threads (top -H, /proc/PID/task).
    pthread_setname_np(pthread_self(), "kazunavi-lookup");
    return std::make_unique<DeferredLookup>(&loadFrontBrowserLookup);
}

}  // namespace kazunavi
