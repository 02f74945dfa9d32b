#include "platform/common/latest_browser_windows.h"

#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <cstdlib>
#include <future>
#include <mutex>
#include <thread>

namespace kazunavi {
namespace {

using namespace std::chrono_literals;

// The lookups of one test. Lookup n (from 1) answers the window with handle
// n; it ends only while fewer than `permits` lookups have ended. A cancel
// lets every lookup end.
// While `holding`, a lookup answers no window, which holds until `changes`
// grows or it is cancelled.
struct Script : WindowLookup {
    std::vector<BrowserWindow> lookUp() override {
        std::unique_lock lock(mutex);
        const int call = ++started;
        changed.notify_all();
        changed.wait(lock, [&] { return finished < permits; });
        ++finished;
        if (holding) {
            return {};
        }
        return {BrowserWindow{WindowHandle(call), u"http://127.0.0.1/", 11}};
    }
    void cancel() override {
        set(cancelled, true);
        set(permits, 1000);
    }
    bool answerHolds() const override { return holding; }
    void awaitChange() override {
        std::unique_lock lock(mutex);
        const int seen = changes;
        changed.wait(lock, [&] { return changes != seen || cancelled; });
    }
    bool waitUntil(int& count, int value, std::chrono::milliseconds patience = 10s) {
        std::unique_lock lock(mutex);
        return changed.wait_for(lock, patience, [&] { return count == value; });
    }
    template <typename Field>
    void set(Field& field, Field value) {
        std::lock_guard lock(mutex);
        field = value;
        changed.notify_all();
    }
    // Windows whose lookups go to this script, which outlives them.
    std::unique_ptr<LatestBrowserWindows> windows() {
        struct Forward : WindowLookup {
            Script& s;
            explicit Forward(Script& script) : s(script) {}
            std::vector<BrowserWindow> lookUp() override { return s.lookUp(); }
            void cancel() override { s.cancel(); }
            bool answerHolds() const override { return s.answerHolds(); }
            void awaitChange() override { s.awaitChange(); }
        };
        return std::make_unique<LatestBrowserWindows>(
            [this] { return std::make_unique<Forward>(*this); },
            [this] { set(answers, answers + 1); });
    }

    std::mutex mutex;
    std::condition_variable changed;
    int started = 0, finished = 0, answers = 0, permits = 1000, changes = 0;
    std::atomic<bool> holding = false;
    bool cancelled = false;
};

// The window list() gives (0: none), asked on another thread: a list() that
// waits for the lookup would not return while the lookup hangs.
WindowHandle windowOf(LatestBrowserWindows& windows) {
    auto answer = std::async(std::launch::async, [&windows] { return windows.list(); });
    if (answer.wait_for(10s) != std::future_status::ready) {
        ADD_FAILURE() << "list() waited for the lookup";
        std::abort();  // the hanging call still uses the object
    }
    const std::vector<BrowserWindow> list = answer.get();
    return list.empty() ? 0 : list.front().handle;
}

// Closing ends whatever the thread is waiting for at once.
void closeWithoutWaiting(std::unique_ptr<LatestBrowserWindows>& windows, const char* waitedFor) {
    auto closing = std::async(std::launch::async, [&windows] { windows.reset(); });
    if (closing.wait_for(10s) != std::future_status::ready) {
        ADD_FAILURE() << "closing waited for " << waitedFor;
        std::abort();  // the hanging call still uses the object
    }
}

// Once it ends, its answer, begun before the previous tick, is too old.
TEST(LatestBrowserWindows, AHangingLookupNeverHoldsTheTickNorAnswersLate) {
    Script s;
    s.permits = 0;
    auto windows = s.windows();
    for (int tick = 0; tick < 3; ++tick) {
        EXPECT_EQ(windowOf(*windows), 0u);
        ASSERT_TRUE(s.waitUntil(s.started, 1));
    }
    s.set(s.permits, 1);
    ASSERT_TRUE(s.waitUntil(s.started, 2));
    EXPECT_EQ(windowOf(*windows), 0u);
    s.set(s.permits, 1000);
    ASSERT_TRUE(s.waitUntil(s.answers, 3));
    s.set(s.permits, 3);
    EXPECT_EQ(windowOf(*windows), 3u);
    ASSERT_TRUE(s.waitUntil(s.started, 4));
    closeWithoutWaiting(windows, "the hanging lookup");
}

// No window in front that could be a browser's: the ticks ask nothing until
// a change, which is looked at at once; closing ends the wait.
TEST(LatestBrowserWindows, AnAnswerThatHoldsIsNotAskedAgainUntilAChange) {
    Script s;
    s.holding = true;
    auto windows = s.windows();
    windows->list();
    ASSERT_TRUE(s.waitUntil(s.answers, 1));
    for (int tick = 0; tick < 3; ++tick) {
        EXPECT_EQ(windowOf(*windows), 0u);
    }
    EXPECT_FALSE(s.waitUntil(s.started, 2, 300ms));
    s.holding = false;
    s.set(s.changes, 1);
    ASSERT_TRUE(s.waitUntil(s.answers, 2));
    s.holding = true;
    EXPECT_EQ(windowOf(*windows), 2u);
    ASSERT_TRUE(s.waitUntil(s.answers, 3));
    closeWithoutWaiting(windows, "a change");
}

// For ticks 1.2 s apart, 0.9 s: a quarter of the interval ahead of the next.
TEST(LatestBrowserWindows, ALookupForRegularTicksWaitsUntilShortlyBeforeTheNextTick) {
    Script s;
    auto windows = s.windows();
    windows->list();
    ASSERT_TRUE(s.waitUntil(s.answers, 1));
    std::this_thread::sleep_for(1200ms);
    windows->list();
    EXPECT_FALSE(s.waitUntil(s.started, 2, 300ms));
    // A slow lookup starts earlier; ticks over 5 s apart are no regular timer.
    EXPECT_EQ(lookupDelay(1200ms, 200ms) + lookupDelay(5000ms, 0ms) + lookupDelay(5001ms, 0ms),
              780ms + 3750ms);
}

}  // namespace
}  // namespace kazunavi
