// Window titles, the active window and what waits for its changes, on a real
// X server.

#include <unistd.h>
#include <QTest>
#include <QWidget>

#include <chrono>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/qt/qt_window_manager.h"
#include "platform/qt/qt_x11_events.h"
#include "platform/x11/deferred_lookup.h"
#include "platform/x11/x11_windows.h"
#include "shell/model/form2.h"
#include "x11_fixture.h"

namespace kazunavi::testing {
namespace {

using std::chrono::milliseconds;

TEST_F(X11Test, TitlesOwnWindowsAndTheActiveWindow) {
    X11Windows windows(*x11_);
    QtWindowManager manager(&windows);
    // Titles: _NET_WM_NAME in UTF-8, else WM_NAME in Latin-1, else none.
    EXPECT_EQ(windows.title(makeWindow("連番 - ブラウザ", "old name")), u"連番 - ブラウザ");
    EXPECT_EQ(windows.title(makeWindow(nullptr, "caf\xE9 page")), u"café page");
    EXPECT_EQ(windows.title(makeWindow()), u"");

    // A window kept on top stays hidden as it was.
    QWidget hidden;
    manager.attach(Form2::kHandle, &hidden);
    manager.keepOnTop(Form2::kHandle);
    EXPECT_TRUE(hidden.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_FALSE(hidden.isVisible());

    // The active window property is followed as it changes, goes (the input
    // focus answers then, as where no window manager keeps it), comes back.
    const xcb_atom_t active = x11_->atom("_NET_ACTIVE_WINDOW");
    auto setActive = [&](xcb_window_t w) {
        xcb_change_property(c_, XCB_PROP_MODE_REPLACE, x11_->root(), active, XCB_ATOM_WINDOW, 32, 1,
                            &w);
        xcb_flush(c_);
    };
    const xcb_window_t first = makeWindow();
    const xcb_window_t second = makeWindow();
    setActive(first);
    ASSERT_TRUE(QTest::qWaitFor([&] { return windows.activeWindow() == first; }));
    setActive(second);
    ASSERT_TRUE(QTest::qWaitFor([&] { return windows.activeWindow() == second; }));
    xcb_delete_property(c_, x11_->root(), active);
    xcb_flush(c_);
    ASSERT_TRUE(QTest::qWaitFor([&] { return windows.activeWindow() != second; }));
    EXPECT_FALSE(windows.reportsActiveWindow());  // so no wait for its reports
    setActive(first);
    EXPECT_TRUE(QTest::qWaitFor([&] { return windows.activeWindow() == first; }));
    {
        // Read by the event loop, the reports are taken as they arrive.
        const auto looped = X11Connection::open();
        X11Windows loopedWindows(*looped);
        const QtX11Events reports(*looped, [&] { loopedWindows.takeArrivedReports(); });
        EXPECT_EQ(loopedWindows.activeWindow(), first);
        setActive(second);
        EXPECT_TRUE(QTest::qWaitFor([&] { return loopedWindows.activeWindow() == second; }));
        setActive(first);
        EXPECT_TRUE(QTest::qWaitFor([&] { return loopedWindows.activeWindow() == first; }));
    }

    // The active window's title and process, kept between looks, follow its
    // changes: a new title, a process id its client tells late.
    auto setProperty = [&](const char* name, const char* type, int format, std::uint32_t length,
                           const void* data) {
        xcb_change_property(c_, XCB_PROP_MODE_REPLACE, first, x11_->atom(name), x11_->atom(type),
                            static_cast<std::uint8_t>(format), length, data);
        xcb_flush(c_);
    };
    EXPECT_EQ(windows.processId(first), 0u);
    EXPECT_EQ(windows.title(first), u"");
    const std::uint32_t pid = 4242;
    setProperty("_NET_WM_PID", "CARDINAL", 32, 1, &pid);
    setProperty("_NET_WM_NAME", "UTF8_STRING", 8, 3, "two");
    EXPECT_TRUE(QTest::qWaitFor([&] { return windows.title(first) == u"two"; }));
    EXPECT_EQ(windows.processId(first), pid);

    // A wait for a change: a new title of the active window or another
    // active window ends it; nothing, at its deadline; an interruption, at once.
    using Clock = std::chrono::steady_clock;
    std::uint64_t seen = windows.reportedChanges();
    EXPECT_TRUE(windows.reportsActiveWindow());
    EXPECT_FALSE(windows.awaitReport(seen, Clock::now() + milliseconds(50), -1));
    setProperty("_NET_WM_NAME", "UTF8_STRING", 8, 5, "three");
    EXPECT_TRUE(windows.awaitReport(seen, Clock::now() + milliseconds(5000), -1));
    seen = windows.reportedChanges();
    setActive(second);
    EXPECT_TRUE(windows.awaitReport(seen, Clock::now() + milliseconds(5000), -1));
    int interrupt[2];
    ASSERT_EQ(::pipe(interrupt), 0);
    ASSERT_EQ(::write(interrupt[1], "!", 1), 1);
    const Clock::time_point before = Clock::now();
    EXPECT_FALSE(
        windows.awaitReport(windows.reportedChanges(), before + milliseconds(5000), interrupt[0]));
    EXPECT_LT(Clock::now() - before, milliseconds(1000));
    ::close(interrupt[0]);
    ::close(interrupt[1]);
}

// The lookup module is loaded only once another program's window is in
// front, and only once, even where it cannot be loaded.
TEST_F(X11Test, TheLookupIsLoadedOnceAnotherProgramsWindowIsInFront) {
    auto makeFront = [&](std::uint32_t pid) {
        const xcb_window_t w = makeWindow();
        xcb_change_property(c_, XCB_PROP_MODE_REPLACE, w, x11_->atom("_NET_WM_PID"),
                            XCB_ATOM_CARDINAL, 32, 1, &pid);
        xcb_change_property(c_, XCB_PROP_MODE_REPLACE, x11_->root(),
                            x11_->atom("_NET_ACTIVE_WINDOW"), XCB_ATOM_WINDOW, 32, 1, &w);
        xcb_flush(c_);
    };
    struct Found : WindowLookup {
        explicit Found(int& cancels) : cancels_(cancels) {}
        std::vector<BrowserWindow> lookUp() override { return {BrowserWindow{7, u"http://a/", 0}}; }
        void cancel() override { ++cancels_; }
        int& cancels_;
    };
    int loads = 0;
    int cancels = 0;
    makeFront(static_cast<std::uint32_t>(::getpid()));
    DeferredLookup lookup([&]() -> std::unique_ptr<WindowLookup> {
        ++loads;
        return std::make_unique<Found>(cancels);
    });
    DeferredLookup unloadable([&]() -> std::unique_ptr<WindowLookup> {
        ++loads;
        return nullptr;
    });
    QTest::qWait(100);
    EXPECT_TRUE(lookup.lookUp().empty());
    EXPECT_TRUE(lookup.answerHolds());  // until another window is in front
    EXPECT_EQ(loads, 0);
    makeFront(4242);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !lookup.lookUp().empty(); }));
    EXPECT_EQ(lookup.lookUp().front().locationUrl, u"http://a/");
    ASSERT_TRUE(QTest::qWaitFor([&] { return unloadable.lookUp().empty() && loads == 2; }));
    EXPECT_TRUE(unloadable.lookUp().empty());
    EXPECT_TRUE(unloadable.answerHolds());
    EXPECT_EQ(loads, 2);  // not tried again
    lookup.cancel();
    EXPECT_EQ(cancels, 1);
}

}  // namespace
}  // namespace kazunavi::testing
