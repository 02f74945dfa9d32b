// The model's timers tick as Qt timers on the window's thread.

#include "qt_fixture.h"

namespace kazunavi::testing {
namespace {

TEST(QtTimerHostTest, AnEnabledTimerTicksAndADisabledOneDoesNot) {
    QtTimerHost host;
    int ticks = 0;
    host.setTick([&](Timer&) { ++ticks; });
    Timer timer("t", 20);
    timer.attach(&host);
    QTest::qWait(100);
    EXPECT_EQ(ticks, 0);  // created stopped

    timer.setEnabled(true);
    EXPECT_TRUE(QTest::qWaitFor([&] { return ticks >= 3; }, 2000));
    timer.setEnabled(false);
    const int stopped = ticks;
    QTest::qWait(100);
    EXPECT_EQ(ticks, stopped);
}

TEST(QtTimerHostTest, EnablingStartsAFreshInterval) {
    QtTimerHost host;
    Timer timer("t", 300);
    timer.attach(&host);
    timer.setEnabled(true);
    const QTimer* qtimer = host.qtTimer(timer);
    ASSERT_NE(qtimer, nullptr);
    EXPECT_TRUE(qtimer->isActive());
    EXPECT_EQ(qtimer->interval(), 300);
    QTest::qWait(200);
    timer.setEnabled(false);
    timer.setEnabled(true);
    // The whole interval lies ahead again, not the 100 ms that were left.
    EXPECT_GT(qtimer->remainingTime(), 200);
}

TEST(QtTimerHostTest, AReleasedTimerLeavesTheHost) {
    QtTimerHost host;
    int ticks = 0;
    host.setTick([&](Timer&) { ++ticks; });
    {
        Timer timer("t", 10);
        timer.attach(&host);
        timer.setEnabled(true);
    }
    QTest::qWait(60);
    EXPECT_EQ(ticks, 0);
}

using WindowTimerTest = QtWindowTest;

TEST_F(WindowTimerTest, TheLampTimerTicksAndTheWindowShowsIt) {
    start();
    ASSERT_EQ(f().Command6(1).backColor, Colour{0x0000FF});
    sim_.windowManager.foreground = 0x4400017;  // another program in front
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return f().Command6(1).backColor == Colour{0x000080}; }, 3000));
    EXPECT_EQ(elementView("Command6(1)")->shown().back, Colour{0x000080});
    EXPECT_EQ(pixelOf(widget("Command6(1)"), QPoint(6, 4)), QColor(0x80, 0, 0));
    EXPECT_FALSE(widget("lblCripDirect")->isEnabled());
}

TEST_F(WindowTimerTest, TheClipboardWatcherTicksFromStartUp) {
    start();
    sim_.clipboard.content = u"http://example.org/p[01-20].jpg";
    ASSERT_TRUE(QTest::qWaitFor([&] { return f().txtLimH.text() == u"20"; }, 3000));
    EXPECT_EQ(static_cast<QLineEdit*>(widget("txtNow"))->text(),
              QStringLiteral("http://example.org/p[01-20].jpg"));
    EXPECT_TRUE(widget("Label1")->isEnabled());
}

TEST_F(WindowTimerTest, TimersOfAWindowThatIsNotLoadedDoNotRun) {
    // Before start-up the main window is not loaded: its running timers
    // (the lamp) tick into nothing.
    sim_.windowManager.foreground = 0x4400017;
    QTest::qWait(300);
    EXPECT_EQ(f().Command6(1).backColor, Colour{0x0000FF});
}

}  // namespace
}  // namespace kazunavi::testing
