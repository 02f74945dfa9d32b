#pragma once

// The browser windows as a background lookup last found them. Asking the
// browsers (over the accessibility bus) takes milliseconds and can hang; the
// window's tick must not wait for it. So each tick takes the answer of a
// lookup made since the previous tick, and asks for the next one, which runs
// on a thread of its own shortly before the next tick is due.

#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "platform/services.h"

namespace kazunavi {

// One way of finding the browser windows; runs on the lookup thread only.
class WindowLookup {
  public:
    virtual ~WindowLookup() = default;
    // The browser windows as they are now. May take a while, but ends after a
    // bounded time; a failure is an empty list.
    virtual std::vector<BrowserWindow> lookUp() = 0;
    // Called from another thread: the lookup in progress, if any, and every
    // later one should end at once.
    virtual void cancel() {}
    // Whether the last lookup's answer, no browser window, holds until the
    // window in front or its title changes: then, instead of looking at every
    // tick, the thread waits in awaitChange().
    virtual bool answerHolds() const { return false; }
    // Returns once the answer may no longer hold, after a few seconds at the
    // latest, and at once after cancel().
    virtual void awaitChange() {}
};

using LookupClock = std::chrono::steady_clock;
using Milliseconds = std::chrono::milliseconds;

// How long after a request the lookup should wait, so that its answer is as
// fresh as it can be and still ready at the next request: requests come at
// the ticks' interval (unknown before the second, and ticks more than a few
// seconds apart are not regular), the answer should be ready a quarter of an
// interval ahead of the next tick, and at least twice the last lookup's
// duration.
Milliseconds lookupDelay(std::optional<Milliseconds> tickInterval, Milliseconds lastDuration);

class LatestBrowserWindows : public BrowserWindows {
  public:
    // The factory runs on the lookup thread, so that no connection is made on
    // the caller's, and the lookup ends there: what a lookup needs of its
    // thread (a name, COM) it sets up and ends itself.
    using LookupFactory = std::function<std::unique_ptr<WindowLookup>()>;

    // answered, when given, is called on the lookup thread after each lookup
    // has left its answer.
    explicit LatestBrowserWindows(LookupFactory factory, std::function<void()> answered = {});
    ~LatestBrowserWindows() override;
    LatestBrowserWindows(const LatestBrowserWindows&) = delete;
    LatestBrowserWindows& operator=(const LatestBrowserWindows&) = delete;

    // Never waits for a lookup: the answer of the latest lookup that started
    // after the previous call and has ended, else no window at all. Then asks
    // for the next lookup.
    std::vector<BrowserWindow> list() override;

  private:
    struct Answer {
        std::vector<BrowserWindow> windows;
        LookupClock::time_point startedAt;
    };

    void run();
    // Until the request's start, the next expected one's, or a wake-up.
    void sleep(std::unique_lock<std::mutex>& lock, LookupClock::time_point now);

    LookupFactory factory_;
    std::function<void()> answered_;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool stopping_ = false;
    bool requested_ = false;
    LookupClock::time_point startAt_;
    std::optional<LookupClock::time_point> lastRequest_;
    std::optional<Milliseconds> interval_;  // between the last two requests
    // Where a regular timer's next request will want its lookup to start:
    // the thread sleeps until then, so that the request need not wake it.
    std::optional<LookupClock::time_point> nextExpected_;
    // The thread's sleep: until a time, or (none) until it is woken.
    std::optional<LookupClock::time_point> sleepsUntil_;
    Milliseconds lastDuration_{0};
    std::optional<Answer> answer_;
    WindowLookup* lookup_ = nullptr;  // owned by the thread, while it runs
    std::thread thread_;              // last: starts when everything else is ready
};

}  // namespace kazunavi
