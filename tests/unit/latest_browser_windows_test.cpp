#include "platform/linux/latest_browser_windows.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <cstdlib>
#include <future>
#include <mutex>
#include <stdexcept>
#include <thread>

namespace kazunavi {
namespace {

using namespace std::chrono_literals;

// The lookups of one test. Lookup n (from 1) answers the window with handle n,
// or throws when n is `failing`; it ends only while fewer than `permits`
// lookups have ended; a cancel lets every lookup end.
struct Script {
    std::mutex mutex;
    std::condition_variable changed;
    int made = 0, started = 0, finished = 0, answers = 0, permits = 1000, failing = 0;

    bool waitUntil(int& count, int value, std::chrono::milliseconds patience = 10s) {
        std::unique_lock lock(mutex);
        return changed.wait_for(lock, patience, [&] { return count == value; });
    }
    void set(int& field, int value) {
        std::lock_guard lock(mutex);
        field = value;
        changed.notify_all();
    }
};

struct FakeLookup : WindowLookup {
    explicit FakeLookup(Script& script) : s(script) {}
    std::vector<BrowserWindow> lookUp() override {
        std::unique_lock lock(s.mutex);
        const int call = ++s.started;
        s.changed.notify_all();
        s.changed.wait(lock, [&] { return s.finished < s.permits; });
        ++s.finished;
        if (call == s.failing) {
            throw std::runtime_error("the browser went away");
        }
        return {BrowserWindow{WindowHandle(call), u"http://127.0.0.1/", 11}};
    }
    void cancel() override { s.set(s.permits, 1000); }
    Script& s;
};

std::unique_ptr<LatestBrowserWindows> windowsWith(Script& s) {
    return std::make_unique<LatestBrowserWindows>(
        [&s] { return s.set(s.made, s.made + 1), std::make_unique<FakeLookup>(s); },
        [&s] { s.set(s.answers, s.answers + 1); });
}

// The handles of list(), called on another thread: a list() that waits for
// the lookup would not return while the lookup hangs.
std::vector<WindowHandle> handles(LatestBrowserWindows& windows) {
    auto answer = std::async(std::launch::async, [&windows] { return windows.list(); });
    if (answer.wait_for(10s) != std::future_status::ready) {
        ADD_FAILURE() << "list() waited for the lookup";
        std::abort();  // the hanging call still uses the object
    }
    std::vector<WindowHandle> result;
    for (const BrowserWindow& w : answer.get()) {
        result.push_back(w.handle);
    }
    return result;
}
using Handles = std::vector<WindowHandle>;

// Each tick takes the answer of the lookup the tick before asked for; the
// lookup is made when the first tick asks, and a failed one answers nothing.
TEST(LatestBrowserWindows, EachTickTakesTheAnswerOfTheLookupAskedForTheTickBefore) {
    Script s;
    s.failing = 2;
    auto windows = windowsWith(s);
    std::this_thread::sleep_for(20ms);
    EXPECT_EQ(s.made, 0);
    EXPECT_EQ(handles(*windows), Handles{});
    ASSERT_TRUE(s.waitUntil(s.answers, 1));
    EXPECT_EQ(handles(*windows), Handles{1});
    ASSERT_TRUE(s.waitUntil(s.answers, 2));
    EXPECT_EQ(handles(*windows), Handles{});
    ASSERT_TRUE(s.waitUntil(s.answers, 3));
    const std::vector<BrowserWindow> third = windows->list();
    ASSERT_EQ(third.size(), 1u);
    EXPECT_EQ(third.front().handle, 3u);
    EXPECT_EQ(third.front().locationUrl, u"http://127.0.0.1/");
    EXPECT_EQ(third.front().titleSuffixLength, 11);
    EXPECT_EQ(s.made, 1);
}

// A hanging lookup never holds the tick; once it ends, its answer, begun
// before the previous tick, is too old. Closing cancels it.
TEST(LatestBrowserWindows, AHangingLookupNeverHoldsTheTickNorAnswersLate) {
    Script s;
    s.permits = 0;
    auto windows = windowsWith(s);
    for (int tick = 0; tick < 3; ++tick) {
        EXPECT_EQ(handles(*windows), Handles{});
        ASSERT_TRUE(s.waitUntil(s.started, 1));
    }
    s.set(s.permits, 1);
    ASSERT_TRUE(s.waitUntil(s.started, 2));
    EXPECT_EQ(handles(*windows), Handles{});
    s.set(s.permits, 1000);
    ASSERT_TRUE(s.waitUntil(s.answers, 3));
    s.set(s.permits, 3);
    EXPECT_EQ(handles(*windows), Handles{3});
    ASSERT_TRUE(s.waitUntil(s.started, 4));
    auto closing = std::async(std::launch::async, [&windows] { windows.reset(); });
    if (closing.wait_for(10s) != std::future_status::ready) {
        ADD_FAILURE() << "closing waited for the hanging lookup";
        std::abort();
    }
    EXPECT_EQ(s.finished, 4);  // cancelled
}

// A lookup for ticks at a regular interval waits until shortly before the
// next tick is due: for 1.2 s, 0.9 s.
TEST(LatestBrowserWindows, ALookupForRegularTicksWaitsUntilShortlyBeforeTheNextTick) {
    Script s;
    auto windows = windowsWith(s);
    windows->list();
    ASSERT_TRUE(s.waitUntil(s.answers, 1));
    std::this_thread::sleep_for(1200ms);
    windows->list();
    EXPECT_FALSE(s.waitUntil(s.started, 2, 300ms));
}

// A quarter of the interval, or twice the last lookup's duration and 20 ms,
// ahead of the next tick; at once without a regular interval.
TEST(LookupDelay, AQuarterOfTheIntervalOrTwiceTheLookupAhead) {
    const std::tuple<std::optional<Milliseconds>, Milliseconds, Milliseconds> cases[] = {
        {500ms, 0ms, 375ms},      {500ms, 40ms, 375ms},  {500ms, 100ms, 280ms},
        {500ms, 300ms, 0ms},      {5000ms, 0ms, 3750ms}, {5001ms, 0ms, 0ms},
        {std::nullopt, 0ms, 0ms}, {0ms, 0ms, 0ms},       {-20ms, 0ms, 0ms}};
    for (const auto& [interval, duration, delay] : cases) {
        EXPECT_EQ(lookupDelay(interval, duration), delay);
    }
}

}  // namespace
}  // namespace kazunavi
