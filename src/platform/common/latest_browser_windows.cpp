#include "platform/common/latest_browser_windows.h"

#include <algorithm>

namespace kazunavi {

namespace {
// Ticks further apart than this are not a regular timer.
constexpr Milliseconds kLongestRegularInterval{5000};
// Spare time before the tick on top of the lookup's own duration.
constexpr Milliseconds kSpare{20};
// A lookup starts this much before its time rather than sleep once more.
constexpr Milliseconds kEarly{10};
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
    bool wakeNeeded = false;
    {
        std::lock_guard lock(mutex_);
        const LookupClock::time_point now = LookupClock::now();
        // An answer from before the previous tick is older than one tick.
        if (answer_ && lastRequest_ && answer_->startedAt >= *lastRequest_) {
            windows = answer_->windows;
        }
        interval_.reset();
        if (lastRequest_) {
            interval_ = std::chrono::duration_cast<Milliseconds>(now - *lastRequest_);
        }
        lastRequest_ = now;
        startAt_ = now + lookupDelay(interval_, lastDuration_);
        requested_ = true;
        // A thread that sleeps until this start, or a little before, wakes by
        // itself.
        wakeNeeded = !sleepsUntil_ || *sleepsUntil_ > startAt_;
    }
    if (wakeNeeded) {
        wake_.notify_all();
    }
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
    while (!stopping_) {
        const LookupClock::time_point now = LookupClock::now();
        if (!requested_ || startAt_ > now + kEarly) {
            sleep(lock, now);
            continue;
        }
        requested_ = false;
        const LookupClock::time_point started = LookupClock::now();
        lock.unlock();
        std::vector<BrowserWindow> windows;
        bool holds = false;
        if (lookup) {
            try {
                windows = lookup->lookUp();
                holds = windows.empty() && lookup->answerHolds();
            } catch (...) {
                windows.clear();
            }
        }
        lock.lock();
        answer_ = Answer{std::move(windows), started};
        lastDuration_ = std::chrono::duration_cast<Milliseconds>(LookupClock::now() - started);
        nextExpected_.reset();
        if (const Milliseconds delay = lookupDelay(interval_, lastDuration_);
            delay > Milliseconds{0}) {
            nextExpected_ = *lastRequest_ + *interval_ + delay;
        }
        if (answered_) {
            lock.unlock();
            answered_();
            lock.lock();
        }
        if (holds && !stopping_) {
            // The ticks' requests wait, as nothing could change their answer.
            lock.unlock();
            lookup->awaitChange();
            lock.lock();
            // Looked at again at once: the answer is ready for the next tick.
            requested_ = true;
            startAt_ = LookupClock::now();
        }
    }
    lookup_ = nullptr;
}

void LatestBrowserWindows::sleep(std::unique_lock<std::mutex>& lock, LookupClock::time_point now) {
    if (requested_) {
        sleepsUntil_ = startAt_;
    } else if (nextExpected_ && *nextExpected_ > now) {
        sleepsUntil_ = nextExpected_;
    } else {
        nextExpected_.reset();  // no request, and none due from a regular timer
    }
    if (sleepsUntil_) {
        wake_.wait_until(lock, *sleepsUntil_);
    } else {
        wake_.wait(lock);
    }
    sleepsUntil_.reset();
}

}  // namespace kazunavi
