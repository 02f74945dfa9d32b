#include "platform/common/latest_browser_windows.h"

#include <algorithm>

namespace kazunavi {

namespace {
// Ticks further apart than this are not a regular timer.
constexpr Milliseconds kLongestRegularInterval{5000};
// Spare time before the tick on top of the lookup's own duration.
constexpr Milliseconds kSpare{20};
}  // namespace

Milliseconds lookupDelay(std::optional<Milliseconds> tickInterval, Milliseconds lastDuration) {
    if (!tickInterval || *tickInterval <= Milliseconds::zero() ||
        *tickInterval > kLongestRegularInterval) {
        return Milliseconds::zero();
    }
    const Milliseconds lead = std::max(*tickInterval / 4, 2 * lastDuration + kSpare);
    return std::max(Milliseconds::zero(), *tickInterval - lead);
}

LatestBrowserWindows::LatestBrowserWindows(LookupFactory factory, std::function<void()> answered)
    : factory_(std::move(factory)), answered_(std::move(answered)), thread_([this] { run(); }) {}

LatestBrowserWindows::~LatestBrowserWindows() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
        if (lookup_ != nullptr) {
            lookup_->cancel();
        }
    }
    wake_.notify_all();
    thread_.join();
}

std::vector<BrowserWindow> LatestBrowserWindows::list() {
    std::vector<BrowserWindow> windows;
    {
        std::lock_guard lock(mutex_);
        const LookupClock::time_point now = LookupClock::now();
        // An answer from before the previous tick is older than one tick.
        if (answer_ && lastRequest_ && answer_->startedAt >= *lastRequest_) {
            windows = answer_->windows;
        }
        std::optional<Milliseconds> interval;
        if (lastRequest_) {
            interval = std::chrono::duration_cast<Milliseconds>(now - *lastRequest_);
        }
        lastRequest_ = now;
        startAt_ = now + lookupDelay(interval, lastDuration_);
        requested_ = true;
    }
    wake_.notify_all();
    return windows;
}

void LatestBrowserWindows::run() {
    // The lookup (its bus connections) is made when the first tick asks, not
    // while the window is being built.
    std::unique_lock lock(mutex_);
    wake_.wait(lock, [this] { return stopping_ || requested_; });
    if (stopping_) {
        return;
    }
    lock.unlock();
    std::unique_ptr<WindowLookup> lookup;
    try {
        lookup = factory_();
    } catch (...) {
        // Without a lookup every answer stays empty.
    }
    lock.lock();
    lookup_ = lookup.get();
    while (true) {
        wake_.wait(lock, [this] { return stopping_ || requested_; });
        // A later request moves the start; wait for the one that holds now.
        while (!stopping_ && LookupClock::now() < startAt_) {
            wake_.wait_until(lock, startAt_);
        }
        if (stopping_) {
            break;
        }
        requested_ = false;
        const LookupClock::time_point started = LookupClock::now();
        lock.unlock();
        std::vector<BrowserWindow> windows;
        if (lookup) {
            try {
                windows = lookup->lookUp();
            } catch (...) {
                windows.clear();
            }
        }
        lock.lock();
        answer_ = Answer{std::move(windows), started};
        lastDuration_ = std::chrono::duration_cast<Milliseconds>(LookupClock::now() - started);
        if (answered_) {
            lock.unlock();
            answered_();
            lock.lock();
        }
    }
    lookup_ = nullptr;
}

}  // namespace kazunavi
