#include <gtest/gtest.h>

#include <string>

#include "platform/sim/sim_desktop.h"
#include "shell/application.h"
#include "shell/model/form1.h"

namespace kazunavi {
namespace {

constexpr std::u16string_view kShortLine =
    u"無効な動作が要求されたので、キャンセルします。\r\n"
    u"要求した命令に間違いがないか確認してください。";
constexpr std::u16string_view kLimiterTitle = u"Kazunavi\u3000Erro\uFF52_02";

// One member of the step family as the window runs it.
struct Member {
    const char* target;
    Event event;
    const char* repeat;  // the repeat timer it runs on, or nullptr
};

const Member kUPbutton{"UPbutton", Event::Click, nullptr};
const Member kLblUP{"lblUP", Event::Click, nullptr};
const Member kDWNbutton{"DWNbutton", Event::Click, nullptr};
const Member kLblDWN{"lblDWN", Event::Click, nullptr};
const Member kCup{"Cup", Event::Timer, "Cup"};
const Member kCdwn{"Cdwn", Event::Timer, "Cdwn"};

class StepFamilyTest : public ::testing::Test {
  protected:
    StepFamilyTest() : app(desktop.services()), f(app.form1()) {
        app.start();
        f.v.AutoOn = false;
    }

    void run(const Member& m) {
        if (m.repeat != nullptr) {
            f.findTimer(m.repeat)->setEnabled(true);
        }
        ASSERT_TRUE(app.run(m.target, m.event));
    }

    void number(std::u16string no, std::u16string low, std::u16string high) {
        f.txtNo.setText(std::move(no));
        f.txtLimL.setText(std::move(low));
        f.txtLimH.setText(std::move(high));
    }
    std::u16string shown() {
        if (desktop.messageBox.shown.empty()) {
            return u"(none)";
        }
        auto m = desktop.messageBox.shown.front();
        desktop.messageBox.shown.pop_front();
        return m.title + u"|" + m.prompt;
    }

    SimDesktop desktop;
    Application app;
    Form1& f;
};

// The width each member takes, in both modes, from the same state.
struct WidthCase {
    Member member;
    bool picked;
    const char16_t* expected;
    int pickLenAfter;
};

class StepWidth : public StepFamilyTest, public ::testing::WithParamInterface<WidthCase> {};

TEST_P(StepWidth, TakesTheWidthOfItsRule) {
    const WidthCase& c = GetParam();
    f.v.LimitOn = false;
    f.v.PickMode = c.picked;
    f.v.PickLen = 4;
    number(u"7", u"000", u"0");
    run(c.member);
    EXPECT_EQ(f.txtNo.text(), c.expected);
    EXPECT_EQ(f.v.PickLen, c.pickLenAfter);
    EXPECT_EQ(shown(), u"(none)");
}

INSTANTIATE_TEST_SUITE_P(
    Family, StepWidth,
    ::testing::Values(WidthCase{kUPbutton, true, u"0008", 4}, WidthCase{kLblUP, true, u"0008", 4},
                      WidthCase{kUPbutton, false, u"008", 4}, WidthCase{kLblUP, false, u"008", 4},
                      WidthCase{kDWNbutton, true, u"6", 4}, WidthCase{kLblDWN, true, u"6", 4},
                      WidthCase{kDWNbutton, false, u"006", 4}, WidthCase{kLblDWN, false, u"006", 4},
                      WidthCase{kCup, true, u"8", 1}, WidthCase{kCup, false, u"8", 1},
                      WidthCase{kCdwn, true, u"6", 1}, WidthCase{kCdwn, false, u"6", 1}),
    [](const ::testing::TestParamInfo<WidthCase>& param) {
        return std::string(param.param.member.target) + (param.param.picked ? "Picked" : "Plain");
    });

// The UP clicks skip the bounds in picked mode; the tick does not.
TEST_F(StepFamilyTest, TheUpTickKeepsToTheBoundsInPickedMode) {
    f.v.PickMode = true;
    f.v.PickLen = 2;
    number(u"30", u"40", u"20");
    run(kCup);
    EXPECT_EQ(f.txtNo.text(), u"20");
    EXPECT_FALSE(f.Cup.enabled());
    EXPECT_EQ(shown(), std::u16string(kLimiterTitle) + u"|数値リミッタが作動中です。");
}

TEST_F(StepFamilyTest, DownStopsAtTheLowerBoundInBothModes) {
    for (bool picked : {false, true}) {
        f.v.PickMode = picked;
        number(u"4", u"4", u"9");
        run(kDWNbutton);
        EXPECT_EQ(f.txtNo.text(), u"4");
        EXPECT_EQ(shown(), std::u16string(kLimiterTitle) + u"|数値リミッタが作動中です。");
        run(kCdwn);
        EXPECT_EQ(f.txtNo.text(), u"4");
        EXPECT_FALSE(f.Cdwn.enabled());
        EXPECT_EQ(shown(), std::u16string(kLimiterTitle) + u"|数値リミッタが作動中です。");
    }
}

TEST_F(StepFamilyTest, AWidthBeyond16BitsFailsTheClickAndStopsTheTick) {
    f.v.LimitOn = false;
    number(u"3", std::u16string(40000, u'0'), u"9");
    run(kUPbutton);
    EXPECT_EQ(shown(), u"Kazunavi\u3000Error_06|" + std::u16string(kShortLine));
    EXPECT_EQ(f.txtNo.text(), u"3");

    // The number's own text that long: the tick's width does not fit.
    f.txtLimL.setText(u"0");
    f.txtNo.setText(std::u16string(39999, u'0') + u"3");
    run(kCup);
    EXPECT_FALSE(f.Cup.enabled());
    EXPECT_EQ(f.txtNo.text().size(), 40000u);
    EXPECT_EQ(shown(), u"(none)");
}

TEST_F(StepFamilyTest, SetWithAnOverlongLowerBoundEndsQuietly) {
    f.txtLimL.setText(std::u16string(40000, u'1'));
    f.txtNo.setText(u"5");
    ASSERT_TRUE(app.run("Label1", Event::Click));
    EXPECT_EQ(f.txtNo.text(), u"5");
    EXPECT_EQ(shown(), u"(none)");
}

}  // namespace
}  // namespace kazunavi
