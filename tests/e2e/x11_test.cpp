// The X11 services against a real X server (run inside Xvfb by
// run_in_x.sh): reading another program's clipboard text with bounded waits,
// window titles, the active window.

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QTest>
#include <QWidget>
#include <chrono>
#include <cstdlib>
#include <thread>

#include "deaf_owner.h"
#include "platform/failure.h"
#include "platform/qt/qt_clipboard.h"
#include "platform/qt/qt_window_manager.h"
#include "platform/x11/selection_reader.h"
#include "platform/x11/x11_connection.h"
#include "platform/x11/x11_windows.h"
#include "shell/model/form1.h"
#include "test_owner.h"

namespace kazunavi::testing {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

double msSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// A widget that counts the mouse presses it gets.
class ClickTarget : public QWidget {
  public:
    int presses = 0;

  protected:
    void mousePressEvent(QMouseEvent*) override { ++presses; }
};

class SelectionReaderTest : public ::testing::Test {
  protected:
    SelectionReaderTest() : x11_(X11Connection::open()) {}
    void SetUp() override { ASSERT_NE(x11_, nullptr) << "needs an X display"; }

    // The user clicks a window of ours: a real X event, whose time Qt takes
    // for its next clipboard request.
    void userClicks() {
        ClickTarget target;
        target.resize(40, 40);
        target.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&target));
        const std::string click =
            "xdotool mousemove --window " + std::to_string(target.winId()) + " 10 10 click 1";
        ASSERT_EQ(std::system(click.c_str()), 0);
        ASSERT_TRUE(QTest::qWaitFor([&] { return target.presses > 0; }, 3000));
    }
    SelectionReader reader(SelectionLimits limits = {}) { return SelectionReader(*x11_, limits); }

    std::unique_ptr<X11Connection> x11_;
};

TEST_F(SelectionReaderTest, ReadsTheUtf8TextOfAnotherProgram) {
    const std::string address = "http://例え.jp/p[01-05].jpg";
    TestOwner owner(address, TestOwner::Offers::Utf8);
    SelectionReader r(*x11_);
    EXPECT_EQ(r.owner(), owner.window());
    EXPECT_TRUE(r.hasText());
    EXPECT_EQ(r.text(), std::u16string(u"http://例え.jp/p[01-05].jpg"));
}

TEST_F(SelectionReaderTest, ReadsLatin1TextWhereNoUtf8IsOffered) {
    TestOwner owner("caf\xE9", TestOwner::Offers::Latin1Only);
    SelectionReader r(*x11_);
    EXPECT_TRUE(r.hasText());
    EXPECT_EQ(r.text(), std::u16string(u"café"));
}

TEST_F(SelectionReaderTest, APictureIsNoText) {
    TestOwner owner("\x89PNG", TestOwner::Offers::ImageOnly);
    SelectionReader r(*x11_);
    EXPECT_FALSE(r.hasText());
    EXPECT_EQ(r.text(), std::nullopt);
}

TEST_F(SelectionReaderTest, AClipboardWithoutOwnerHoldsNoText) {
    SelectionReader r(*x11_);
    { TestOwner owner("x", TestOwner::Offers::Utf8); }  // gone with its window
    EXPECT_EQ(r.owner(), static_cast<xcb_window_t>(XCB_NONE));
    EXPECT_FALSE(r.hasText());
    EXPECT_EQ(r.text(), std::nullopt);
}

TEST_F(SelectionReaderTest, ALargeTextComesInPieces) {
    std::string big;
    for (int i = 0; big.size() < 300000; ++i) {
        big += "http://host/page" + std::to_string(i) + ".html\n";
    }
    TestOwner owner(big, TestOwner::Offers::InPieces, 65536);
    SelectionReader r(*x11_);
    const auto text = r.text();
    ASSERT_TRUE(text.has_value());
    EXPECT_EQ(text->size(), big.size());
    EXPECT_EQ(text->substr(0, 23), u"http://host/page0.html\n");
    EXPECT_EQ(text->back(), u'\n');
    // The reader goes on to read other owners afterwards.
    TestOwner next("after", TestOwner::Offers::Utf8);
    EXPECT_EQ(r.text(), std::u16string(u"after"));
}

TEST_F(SelectionReaderTest, ATextBeyondTheLimitIsAFailure) {
    TestOwner owner(std::string(5000, 'a'), TestOwner::Offers::Utf8);
    SelectionLimits limits;
    limits.maxBytes = 1000;
    SelectionReader r(*x11_, limits);
    EXPECT_THROW(r.text(), Failure);
    TestOwner pieces(std::string(5000, 'b'), TestOwner::Offers::InPieces, 600);
    EXPECT_THROW(r.text(), Failure);
}

TEST_F(SelectionReaderTest, AHungOwnerCostsOneShortWaitThenFailsAtOnce) {
    xcb_connection_t* deaf = xcb_connect(nullptr, nullptr);
    ASSERT_NE(takeClipboardDeafly(deaf), static_cast<xcb_window_t>(XCB_NONE));
    SelectionLimits limits;
    limits.answerTimeout = milliseconds(200);
    limits.deafRetryInterval = milliseconds(600);
    SelectionReader r(*x11_, limits);

    auto start = Clock::now();
    EXPECT_THROW(r.hasText(), Failure);
    const double first = msSince(start);
    EXPECT_GE(first, 195);
    EXPECT_LT(first, 1000);

    start = Clock::now();
    EXPECT_THROW(r.text(), Failure);
    EXPECT_LT(msSince(start), 50);  // not asked again yet

    std::this_thread::sleep_for(milliseconds(650));
    start = Clock::now();
    EXPECT_THROW(r.text(), Failure);  // asked again, silent again
    EXPECT_GE(msSince(start), 195);
    // Silent twice: the next question waits twice as long (1200 ms).
    std::this_thread::sleep_for(milliseconds(650));
    start = Clock::now();
    EXPECT_THROW(r.text(), Failure);
    EXPECT_LT(msSince(start), 50);

    // A new owner gets its answer at once.
    TestOwner owner("fresh", TestOwner::Offers::Utf8);
    start = Clock::now();
    EXPECT_EQ(r.text(), std::u16string(u"fresh"));
    EXPECT_LT(msSince(start), 150);
    xcb_disconnect(deaf);
}

TEST_F(SelectionReaderTest, ALateAnswerIsNotTakenForTheNextOne) {
    SelectionLimits limits;
    limits.answerTimeout = milliseconds(300);
    SelectionReader r(*x11_, limits);
    // It answers only after the reader has given up...
    TestOwner slow("slow", TestOwner::Offers::Latin1Only, 65536, milliseconds(350));
    ASSERT_EQ(r.owner(), slow.window());
    EXPECT_THROW(r.text(), Failure);
    // ...and its late answer (Latin-1 only) comes while the reader waits for
    // the next owner's (UTF-8 only).
    TestOwner quick("quick", TestOwner::Offers::Utf8, 65536, milliseconds(100));
    EXPECT_EQ(r.text(), std::u16string(u"quick"));
}

TEST_F(SelectionReaderTest, ClearTakesTheClipboardAway) {
    TestOwner owner("x", TestOwner::Offers::Utf8);
    SelectionReader r(*x11_);
    ASSERT_TRUE(r.hasText());
    r.clear();
    EXPECT_EQ(r.owner(), static_cast<xcb_window_t>(XCB_NONE));
    EXPECT_FALSE(r.hasText());
}

TEST_F(SelectionReaderTest, AWriteRightAfterClearingAnotherProgramsTextTakesEffect) {
    // ADD and OUTPUT clear the clipboard and write to it in one click.
    SelectionReader r(*x11_);
    QtClipboard clipboard(&r);
    userClicks();
    clipboard.setText(u"ours");
    QTest::qWait(50);
    TestOwner other("other", TestOwner::Offers::Utf8);  // another program copies
    ASSERT_TRUE(QTest::qWaitFor([&] { return clipboard.text() == u"other"; }, 2000));
    userClicks();  // then the user clicks OUTPUT
    clipboard.clear();
    EXPECT_EQ(r.owner(), static_cast<xcb_window_t>(XCB_NONE));
    EXPECT_FALSE(clipboard.hasText());
    clipboard.setText(u"mine");
    EXPECT_TRUE(clipboard.hasText());
    EXPECT_EQ(clipboard.text(), u"mine");
    EXPECT_NE(r.owner(), other.window());
}

TEST_F(SelectionReaderTest, AWriteThatDoesNotTakeIsAFailure) {
    SelectionReader r(*x11_);
    QtClipboard clipboard(&r);
    clipboard.setText(u"first");
    QTest::qWait(50);
    // Another program takes the clipboard and lets it go without our
    // program seeing any event afterwards: Qt's time is too old to take it.
    { TestOwner other("other", TestOwner::Offers::Utf8); }
    r.clear();
    try {
        clipboard.setText(u"late");
        // Where Qt did get a newer time meanwhile, the text must be there.
        EXPECT_EQ(clipboard.text(), u"late");
    } catch (const Failure&) {
        EXPECT_FALSE(clipboard.hasText());
    }
}

TEST_F(SelectionReaderTest, TheProgramsClipboardReadsItsOwnTextAndOthers) {
    SelectionReader r(*x11_);
    QtClipboard clipboard(&r);
    userClicks();
    clipboard.setText(u"http://own/1.html");
    EXPECT_TRUE(QGuiApplication::clipboard()->ownsClipboard());
    EXPECT_TRUE(clipboard.hasText());
    EXPECT_EQ(clipboard.text(), u"http://own/1.html");
    {
        TestOwner other("http://other/2.html", TestOwner::Offers::Utf8);
        // Qt learns of the new owner through its event queue.
        ASSERT_TRUE(
            QTest::qWaitFor([] { return !QGuiApplication::clipboard()->ownsClipboard(); }, 2000));
        EXPECT_EQ(clipboard.text(), u"http://other/2.html");
        clipboard.clear();
        EXPECT_FALSE(clipboard.hasText());
    }
    clipboard.setText(u"again");
    clipboard.clear();
    EXPECT_FALSE(clipboard.hasText());
    EXPECT_EQ(clipboard.text(), u"");
}

class X11WindowsTest : public SelectionReaderTest {
  protected:
    xcb_window_t makeWindow(xcb_connection_t* c) {
        xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
        const xcb_window_t w = xcb_generate_id(c);
        xcb_create_window(c, XCB_COPY_FROM_PARENT, w, screen->root, 10, 10, 50, 20, 0,
                          XCB_WINDOW_CLASS_INPUT_OUTPUT, XCB_COPY_FROM_PARENT, 0, nullptr);
        return w;
    }
    void setProperty(xcb_connection_t* c, xcb_window_t w, const char* name, const char* type,
                     const std::string& value) {
        xcb_change_property(c, XCB_PROP_MODE_REPLACE, w, x11_->atom(name), x11_->atom(type), 8,
                            static_cast<std::uint32_t>(value.size()), value.data());
        xcb_flush(c);
    }
};

TEST_F(X11WindowsTest, TitlesComeFromNetWmNameElseWmName) {
    X11Windows windows(*x11_);
    xcb_connection_t* c = x11_->get();
    const xcb_window_t both = makeWindow(c);
    setProperty(c, both, "_NET_WM_NAME", "UTF8_STRING", "連番 - ブラウザ");
    setProperty(c, both, "WM_NAME", "STRING", "old name");
    const xcb_window_t old = makeWindow(c);
    setProperty(c, old, "WM_NAME", "STRING", "caf\xE9 page");
    EXPECT_EQ(windows.title(both), u"連番 - ブラウザ");
    EXPECT_EQ(windows.title(old), u"café page");
    EXPECT_EQ(windows.title(makeWindow(c)), u"");
    xcb_destroy_window(c, old);
    xcb_flush(c);
    EXPECT_EQ(windows.title(old), u"");  // gone
}

TEST_F(X11WindowsTest, TheWindowManagerGivesTitlesInCodePage932CutToTheBuffer) {
    X11Windows windows(*x11_);
    QtWindowManager manager(&windows);
    xcb_connection_t* c = x11_->get();
    const xcb_window_t w = makeWindow(c);
    setProperty(c, w, "_NET_WM_NAME", "UTF8_STRING", "ABC連番");
    EXPECT_EQ(manager.windowText(w, 256), u"ABC連番");
    EXPECT_EQ(manager.windowText(w, 5), u"ABC");    // 4 bytes: 連 would be cut
    EXPECT_EQ(manager.windowText(w, 6), u"ABC連");  // 5 bytes
    EXPECT_EQ(manager.windowText(w, 7), u"ABC連");  // 6 bytes: 番 would be cut
}

TEST_F(X11WindowsTest, TheActiveWindowIsTheMainWindowsHandleOrAnX11Id) {
    X11Windows windows(*x11_);
    QtWindowManager manager(&windows);
    QWidget main;
    main.setWindowTitle(QStringLiteral("Kazunavi test"));
    main.resize(100, 30);
    main.show();
    manager.attach(Form1::kHandle, &main);
    main.activateWindow();
    ASSERT_TRUE(QTest::qWaitFor([&] { return manager.foregroundWindow() == Form1::kHandle; }, 3000))
        << "active: " << windows.activeWindow();

    QWidget other;
    other.setWindowTitle(QStringLiteral("another program"));
    other.resize(100, 30);
    other.show();
    other.activateWindow();
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return manager.foregroundWindow() != Form1::kHandle; }, 3000));
    const WindowHandle front = manager.foregroundWindow();
    EXPECT_EQ(front, static_cast<WindowHandle>(other.winId()));
    EXPECT_EQ(manager.windowText(front, 256), u"another program");
}

TEST_F(X11WindowsTest, TheActivePropertyIsFollowedWhetherItComesGoesOrChanges) {
    X11Windows windows(*x11_);
    xcb_connection_t* c = x11_->get();
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    const xcb_atom_t property = x11_->atom("_NET_ACTIVE_WINDOW");
    auto setActive = [&](xcb_window_t w) {
        xcb_change_property(c, XCB_PROP_MODE_REPLACE, root, property, XCB_ATOM_WINDOW, 32, 1, &w);
        xcb_flush(c);
    };
    const xcb_window_t first = makeWindow(c);
    const xcb_window_t second = makeWindow(c);
    setActive(first);
    ASSERT_TRUE(QTest::qWaitFor([&] { return windows.activeWindow() == first; }, 3000));
    setActive(second);
    ASSERT_TRUE(QTest::qWaitFor([&] { return windows.activeWindow() == second; }, 3000));
    // Without the property (no window manager keeps it) the input focus
    // answers; when it is set again, it answers again.
    xcb_delete_property(c, root, property);
    xcb_flush(c);
    ASSERT_TRUE(QTest::qWaitFor([&] { return windows.activeWindow() != second; }, 3000));
    setActive(first);
    EXPECT_TRUE(QTest::qWaitFor([&] { return windows.activeWindow() == first; }, 3000));
}

}  // namespace
}  // namespace kazunavi::testing

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
