#include "platform/linux/latest_browser_windows.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <cstdlib>
#include <functional>
#include <future>
#include <mutex>
#include <stdexcept>
#include <thread>
#include <tuple>

namespace kazunavi {
namespace {

using namespace std::chrono_literals;

// Far beyond anything the lookup thread needs: only a fault waits this long.
constexpr auto kPatience = 10s;

// What the test and its fake lookups share. Lookup n (from 1) answers the
// window with handle n, or throws when `throws` says so; it ends only while
// fewer than `permits` lookups have ended.
struct Script {
    std::mutex mutex;
    std::condition_variable changed;
    int made = 0, started = 0, finished = 0, answers = 0, permits = 1000;
    bool cancelled = false;
    std::function<bool(int)> throws = [](int) { return false; };

    bool waitUntil(const std::function<bool()>& done) {
        std::unique_lock lock(mutex);
        return changed.wait_for(lock, kPatience, done);
    }
    void set(int& field, int value) {
        std::lock_guard lock(mutex);
        field = value;
        changed.notify_all();
    }
};

class FakeLookup : public WindowLookup {
  public:
    explicit FakeLookup(Script& script) : s_(script) {}
    std::vector<BrowserWindow> lookUp() override {
        std::unique_lock lock(s_.mutex);
        const int call = ++s_.started;
        s_.changed.notify_all();
        s_.changed.wait(lock, [&] { return s_.cancelled || s_.finished < s_.permits; });
        ++s_.finished;
        s_.changed.notify_all();
        if (s_.throws(call)) {
            throw std::runtime_error("the browser went away");
        }
        return {BrowserWindow{static_cast<WindowHandle>(call), u"http://127.0.0.1/", 11}};
    }
    void cancel() override {
        std::lock_guard lock(s_.mutex);
        s_.cancelled = true;
        s_.changed.notify_all();
    }

  private:
    Script& s_;
};

std::unique_ptr<LatestBrowserWindows> windowsWith(Script& s) {
    return std::make_unique<LatestBrowserWindows>(
        [&s] {
            s.set(s.made, s.made + 1);
            return std::make_unique<FakeLookup>(s);
        },
        [&s] { s.set(s.answers, s.answers + 1); });
}

// The handles of list(), called on another thread: a list() that waits for
// the lookup would not return while the lookup hangs.
std::vector<WindowHandle> handles(LatestBrowserWindows& windows) {
    auto answer = std::async(std::launch::async, [&windows] { return windows.list(); });
    if (answer.wait_for(kPatience) != std::future_status::ready) {
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

TEST(LatestBrowserWindows, EachTickTakesTheAnswerOfTheLookupAskedForTheTickBefore) {
    Script s;
    s.throws = [](int call) { return call == 2; };
    auto windows = windowsWith(s);
    std::this_thread::sleep_for(20ms);
    EXPECT_EQ(s.made, 0);  // no lookup made before the first tick asks
    EXPECT_EQ(handles(*windows), Handles{});
    ASSERT_TRUE(s.waitUntil([&] { return s.answers == 1; }));
    EXPECT_EQ(handles(*windows), Handles{1});
    ASSERT_TRUE(s.waitUntil([&] { return s.answers == 2; }));
    EXPECT_EQ(handles(*windows), Handles{});  // a failed lookup answers nothing
    ASSERT_TRUE(s.waitUntil([&] { return s.answers == 3; }));
    const std::vector<BrowserWindow> fourth = windows->list();
    ASSERT_EQ(fourth.size(), 1u);
    EXPECT_EQ(fourth.front().handle, 3u);
    EXPECT_EQ(fourth.front().locationUrl, u"http://127.0.0.1/");
    EXPECT_EQ(fourth.front().titleSuffixLength, 11);
    EXPECT_EQ(s.made, 1);
}

// The lookup hangs: the ticks go on without it, and once it ends its answer,
// begun before the previous tick, is too old.
TEST(LatestBrowserWindows, AHangingLookupNeverHoldsTheTickNorAnswersLate) {
    Script s;
    s.permits = 0;
    auto windows = windowsWith(s);
    EXPECT_EQ(handles(*windows), Handles{});
    ASSERT_TRUE(s.waitUntil([&] { return s.started == 1; }));
    for (int tick = 0; tick < 3; ++tick) {
        EXPECT_EQ(handles(*windows), Handles{});
    }
    s.set(s.permits, 1);
    ASSERT_TRUE(s.waitUntil([&] { return s.started == 2; }));
    EXPECT_EQ(handles(*windows), Handles{});
    s.set(s.permits, 1000);
    ASSERT_TRUE(s.waitUntil([&] { return s.answers == 3; }));
    EXPECT_EQ(handles(*windows), Handles{3});
}

TEST(LatestBrowserWindows, ClosingCancelsAHangingLookup) {
    Script s;
    s.permits = 0;
    auto windows = windowsWith(s);
    windows->list();
    ASSERT_TRUE(s.waitUntil([&] { return s.started == 1; }));
    auto closing = std::async(std::launch::async, [&windows] { windows.reset(); });
    ASSERT_EQ(closing.wait_for(kPatience), std::future_status::ready);
    EXPECT_TRUE(s.cancelled);
}

TEST(LatestBrowserWindows, WithoutALookupThereIsNeverAWindow) {
    for (bool throws : {false, true}) {
        LatestBrowserWindows windows([throws]() -> std::unique_ptr<WindowLookup> {
            return throws ? throw std::runtime_error("no display") : nullptr;
        });
        for (int tick = 0; tick < 3; ++tick) {
            EXPECT_TRUE(windows.list().empty());
            std::this_thread::sleep_for(5ms);
        }
    }
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
