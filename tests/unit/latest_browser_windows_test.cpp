#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <future>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <thread>

#include "platform/linux/latest_browser_windows.h"

namespace kazunavi {
namespace {

using namespace std::chrono_literals;

// How long a test waits for the lookup thread before it gives up: far beyond
// anything the thread needs, so only a fault reaches it.
constexpr auto kPatience = 10s;

// What the test and its fake lookup share.
struct Script {
    std::mutex mutex;
    std::condition_variable changed;
    int started = 0;
    int finished = 0;
    int answers = 0;     // left with the windows object
    int permits = 1000;  // lookups that may end; the others wait
    bool cancelled = false;
    std::vector<LookupClock::time_point> startTimes;
    // Call n (from 1): throws when this says so.
    std::function<bool(int)> throws = [](int) { return false; };

    template <typename Predicate>
    bool waitUntil(Predicate done) {
        std::unique_lock lock(mutex);
        return changed.wait_for(lock, kPatience, done);
    }
    void permit(int n) {
        {
            std::lock_guard lock(mutex);
            permits = n;
        }
        changed.notify_all();
    }
};

// Answers with the window whose handle is the number of the call.
class FakeLookup : public WindowLookup {
  public:
    explicit FakeLookup(std::shared_ptr<Script> script) : script_(std::move(script)) {}

    std::vector<BrowserWindow> lookUp() override {
        std::unique_lock lock(script_->mutex);
        const int call = ++script_->started;
        script_->startTimes.push_back(LookupClock::now());
        script_->changed.notify_all();
        script_->changed.wait(
            lock, [&] { return script_->cancelled || script_->finished < script_->permits; });
        ++script_->finished;
        script_->changed.notify_all();
        if (script_->throws(call)) {
            throw std::runtime_error("the browser went away");
        }
        return {BrowserWindow{static_cast<WindowHandle>(call), u"http://127.0.0.1/", 11}};
    }

    void cancel() override {
        std::lock_guard lock(script_->mutex);
        script_->cancelled = true;
        script_->changed.notify_all();
    }

  private:
    std::shared_ptr<Script> script_;
};

std::unique_ptr<LatestBrowserWindows> windowsWith(const std::shared_ptr<Script>& script) {
    return std::make_unique<LatestBrowserWindows>(
        [script] { return std::make_unique<FakeLookup>(script); },
        [script] {
            {
                std::lock_guard lock(script->mutex);
                ++script->answers;
            }
            script->changed.notify_all();
        });
}

// The handles of the answer, in order.
std::vector<WindowHandle> handles(const std::vector<BrowserWindow>& windows) {
    std::vector<WindowHandle> result;
    for (const BrowserWindow& w : windows) {
        result.push_back(w.handle);
    }
    return result;
}

// Calls list() on another thread: a list() that waits for the lookup would
// not return while the lookup hangs.
std::optional<std::vector<BrowserWindow>> listWithoutWaiting(LatestBrowserWindows& windows) {
    auto answer = std::async(std::launch::async, [&windows] { return windows.list(); });
    if (answer.wait_for(kPatience) != std::future_status::ready) {
        ADD_FAILURE() << "list() waited for the lookup";
        std::abort();  // the hanging call still uses the object
    }
    return answer.get();
}

TEST(LatestBrowserWindows, EachTickTakesTheAnswerOfTheLookupTheTickBeforeAskedFor) {
    auto script = std::make_shared<Script>();
    script->throws = [](int call) { return call == 2; };
    auto windows = windowsWith(script);
    EXPECT_TRUE(windows->list().empty());  // nothing looked up yet
    ASSERT_TRUE(script->waitUntil([&] { return script->answers == 1; }));
    EXPECT_EQ(handles(windows->list()), std::vector<WindowHandle>{1});
    // A failed lookup answers nothing, and the next one works.
    ASSERT_TRUE(script->waitUntil([&] { return script->answers == 2; }));
    EXPECT_TRUE(windows->list().empty());
    ASSERT_TRUE(script->waitUntil([&] { return script->answers == 3; }));
    const std::vector<BrowserWindow> fourth = windows->list();
    ASSERT_EQ(handles(fourth), std::vector<WindowHandle>{3});
    EXPECT_EQ(fourth.front().locationUrl, u"http://127.0.0.1/");
    EXPECT_EQ(fourth.front().titleSuffixLength, 11);
}

// Nothing is looked up, nor the lookup made, before the first tick asks.
TEST(LatestBrowserWindows, TheLookupIsMadeWhenTheFirstTickAsks) {
    std::atomic<int> made = 0;
    auto script = std::make_shared<Script>();
    LatestBrowserWindows windows([&made, script] {
        ++made;
        return std::make_unique<FakeLookup>(script);
    });
    std::this_thread::sleep_for(50ms);
    EXPECT_EQ(made, 0);
    windows.list();
    ASSERT_TRUE(script->waitUntil([&] { return script->started == 1; }));
    EXPECT_EQ(made, 1);
}

TEST(LatestBrowserWindows, AHangingLookupNeverHoldsTheTick) {
    auto script = std::make_shared<Script>();
    script->permits = 0;
    auto windows = windowsWith(script);
    EXPECT_TRUE(listWithoutWaiting(*windows)->empty());
    ASSERT_TRUE(script->waitUntil([&] { return script->started == 1; }));
    for (int tick = 0; tick < 3; ++tick) {
        EXPECT_TRUE(listWithoutWaiting(*windows)->empty());
    }
    // The browser answers again: the lookup asked for meanwhile runs, and the
    // tick after it has its answer.
    script->permit(1000);
    ASSERT_TRUE(script->waitUntil([&] { return script->answers == 2; }));
    EXPECT_EQ(handles(windows->list()), std::vector<WindowHandle>{2});
}

TEST(LatestBrowserWindows, AnAnswerOlderThanThePreviousTickIsDropped) {
    auto script = std::make_shared<Script>();
    script->permits = 0;
    auto windows = windowsWith(script);
    windows->list();  // asks for lookup 1, which hangs
    ASSERT_TRUE(script->waitUntil([&] { return script->started == 1; }));
    windows->list();  // asks for another
    script->permit(1);
    ASSERT_TRUE(script->waitUntil([&] { return script->started == 2; }));
    // Lookup 1 has ended, but it began before the last tick.
    EXPECT_TRUE(windows->list().empty());
    script->permit(1000);
    ASSERT_TRUE(script->waitUntil([&] { return script->answers == 3; }));
    EXPECT_EQ(handles(windows->list()), std::vector<WindowHandle>{3});
}

TEST(LatestBrowserWindows, WithoutALookupThereIsNeverAWindow) {
    for (bool throws : {false, true}) {
        LatestBrowserWindows windows([throws]() -> std::unique_ptr<WindowLookup> {
            if (throws) {
                throw std::runtime_error("no display");
            }
            return nullptr;
        });
        for (int tick = 0; tick < 3; ++tick) {
            EXPECT_TRUE(windows.list().empty());
            std::this_thread::sleep_for(5ms);
        }
    }
}

TEST(LatestBrowserWindows, ClosingCancelsAHangingLookup) {
    auto script = std::make_shared<Script>();
    script->permits = 0;
    auto windows = windowsWith(script);
    windows->list();
    ASSERT_TRUE(script->waitUntil([&] { return script->started == 1; }));
    auto closing = std::async(std::launch::async, [&windows] { windows.reset(); });
    ASSERT_EQ(closing.wait_for(kPatience), std::future_status::ready)
        << "closing waited for the hanging lookup";
    std::lock_guard lock(script->mutex);
    EXPECT_TRUE(script->cancelled);
}

TEST(LatestBrowserWindows, ALookupForRegularTicksStartsShortlyBeforeTheNextTick) {
    auto script = std::make_shared<Script>();
    auto windows = windowsWith(script);
    windows->list();
    ASSERT_TRUE(script->waitUntil([&] { return script->finished == 1; }));
    std::this_thread::sleep_for(200ms);
    const LookupClock::time_point tick = LookupClock::now();
    windows->list();
    ASSERT_TRUE(script->waitUntil([&] { return script->finished == 2; }));
    std::lock_guard lock(script->mutex);
    // At least 200 ms between ticks: the lookup waits at least 200 - 50 -
    // (2 x its own short duration + 20) ms.
    EXPECT_GE(script->startTimes[1] - tick, 100ms);
}

// When the lookup starts after a tick: a quarter of the interval, or twice
// the lookup's own duration, ahead of the next tick; at once without a
// regular interval.
TEST(LookupDelay, AQuarterOfTheIntervalOrTwiceTheLookupAhead) {
    EXPECT_EQ(lookupDelay(500ms, 0ms), 375ms);
    EXPECT_EQ(lookupDelay(500ms, 40ms), 375ms);
    EXPECT_EQ(lookupDelay(500ms, 100ms), 280ms);
    EXPECT_EQ(lookupDelay(500ms, 300ms), 0ms);
    EXPECT_EQ(lookupDelay(5000ms, 0ms), 3750ms);
    EXPECT_EQ(lookupDelay(6000ms, 0ms), 0ms);
    EXPECT_EQ(lookupDelay(std::nullopt, 0ms), 0ms);
    EXPECT_EQ(lookupDelay(0ms, 0ms), 0ms);
    EXPECT_EQ(lookupDelay(-20ms, 0ms), 0ms);
}

}  // namespace
}  // namespace kazunavi
