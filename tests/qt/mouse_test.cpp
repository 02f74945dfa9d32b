// Mouse events of the elements reach the event procedures with the button
// state, in the order down, up, click; a disabled element receives none.

#include <QMouseEvent>

#include "qt_fixture.h"

namespace kazunavi::testing {
namespace {

class MouseTest : public QtWindowTest {
  protected:
    void SetUp() override { start(); }

    // Replaces the procedures of a target with ones that write down the calls.
    void record(const std::string& target) {
        for (Event e : {Event::MouseDown, Event::MouseUp, Event::Click, Event::MouseMove}) {
            app_->events().on(target, e, [this, target, e](int button) {
                calls_.push_back(target + " " + std::string(eventName(e)) + " " +
                                 std::to_string(button));
            });
        }
    }
    std::vector<std::string> calls_;
};

TEST_F(MouseTest, AClickOnALabelGivesDownUpClickWithTheLeftButton) {
    record("lblCUT");
    QTest::mouseClick(widget("lblCUT"), Qt::LeftButton);
    EXPECT_EQ(calls_, (std::vector<std::string>{"lblCUT MouseDown 1", "lblCUT MouseUp 1",
                                                "lblCUT Click 0"}));
}

TEST_F(MouseTest, TheRightButtonGivesNoClick) {
    record("lblCUT");
    QTest::mouseClick(widget("lblCUT"), Qt::RightButton);
    EXPECT_EQ(calls_, (std::vector<std::string>{"lblCUT MouseDown 2", "lblCUT MouseUp 2"}));
}

TEST_F(MouseTest, AButtonGivesDownUpClick) {
    record("Command4");
    QTest::mouseClick(widget("Command4"), Qt::LeftButton);
    EXPECT_EQ(calls_, (std::vector<std::string>{"Command4 MouseDown 1", "Command4 MouseUp 1",
                                                "Command4 Click 0"}));
}

TEST_F(MouseTest, TheSpaceKeyClicksAButton) {
    record("Command4");
    widget("Command4")->setFocus();
    QTest::keyClick(widget("Command4"), Qt::Key_Space);
    EXPECT_EQ(calls_, (std::vector<std::string>{"Command4 Click 0"}));
}

TEST_F(MouseTest, ADisabledElementReceivesNothing) {
    record("UPbutton");
    ASSERT_FALSE(f().UPbutton.enabled);
    QTest::mouseClick(widget("UPbutton"), Qt::LeftButton);
    EXPECT_TRUE(calls_.empty());
    EXPECT_TRUE(sim_.browser.navigations.empty());

    f().UPbutton.enabled = true;
    views_->syncAll();
    QTest::mouseClick(widget("UPbutton"), Qt::LeftButton);
    EXPECT_EQ(calls_.size(), 3u);
}

TEST_F(MouseTest, ADisabledLabelReceivesNothing) {
    record("Label1");
    ASSERT_FALSE(f().Label1.enabled);  // [SET] starts disabled
    QTest::mouseClick(widget("Label1"), Qt::LeftButton);
    EXPECT_TRUE(calls_.empty());
}

TEST_F(MouseTest, AMoveReportsTheButtonsHeld) {
    record("Pic1");
    QWidget* pic1 = widget("Pic1");
    QMouseEvent hover(QEvent::MouseMove, QPointF(5, 5), pic1->mapToGlobal(QPointF(5, 5)),
                      Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(pic1, &hover);
    QMouseEvent drag(QEvent::MouseMove, QPointF(6, 5), pic1->mapToGlobal(QPointF(6, 5)),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(pic1, &drag);
    EXPECT_EQ(calls_, (std::vector<std::string>{"Pic1 MouseMove 0", "Pic1 MouseMove 1"}));
}

TEST_F(MouseTest, TheBareSurfaceIsTheWindowsOwnTarget) {
    record("Form1");
    QTest::mouseClick(&view(), Qt::LeftButton, Qt::NoModifier, QPoint(170, 2));
    EXPECT_EQ(calls_,
              (std::vector<std::string>{"Form1 MouseDown 1", "Form1 MouseUp 1", "Form1 Click 0"}));
}

TEST_F(MouseTest, AClickRunsTheRealProcedureAndShowsItsResult) {
    // "▼" expands the window through its click procedure.
    QTest::mouseClick(widget("lblOPEN"), Qt::LeftButton);
    EXPECT_TRUE(f().v.DetailOn);
    EXPECT_EQ(view().height(), 197);
}

}  // namespace
}  // namespace kazunavi::testing
