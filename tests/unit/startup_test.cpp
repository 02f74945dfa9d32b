#include <gtest/gtest.h>

#include "platform/failure.h"
#include "platform/sim/sim_desktop.h"
#include "shell/application.h"

namespace kazunavi {
namespace {

class UnusableLock : public InstanceCheck {
  public:
    bool anotherRunning() override { throw Failure("the lock file is not ours"); }
};

Services withInstanceCheck(Services s, InstanceCheck& check) {
    return Services{s.messageBox,    s.clipboard,      s.browser,     s.windowManager,
                    s.profile,       s.ticks,          s.beeper,      check,
                    s.programFolder, s.browserWindows, s.programExit, s.timerHost};
}

TEST(StartUp, AnUnusableLockDoesNotKeepTheProgramFromStarting) {
    SimDesktop desktop;
    UnusableLock lock;
    Services services = withInstanceCheck(desktop.services(), lock);
    Application app(services);
    app.start();
    EXPECT_FALSE(app.ended());
    EXPECT_TRUE(app.form1().visible);
    EXPECT_TRUE(app.form1().timCrip.enabled());
    EXPECT_TRUE(desktop.messageBox.shown.empty());
}

TEST(Pick, ASelectionBeyondSixteenBitsIsError03AndChangesNothing) {
    SimDesktop desktop;
    Application app(desktop.services());
    app.start();
    Form1& f = app.form1();
    f.txtNow.setText(std::u16string(32768, u'0'));
    f.txtNow.setSelStart(0);
    f.txtNow.setSelLength(32768);
    app.run("lblCUT", Event::Click);
    ASSERT_EQ(desktop.messageBox.shown.size(), 1u);
    EXPECT_EQ(desktop.messageBox.shown.front().title, u"Kazunavi Error_03");
    EXPECT_EQ(f.v.PickLen, 0);
    EXPECT_FALSE(f.v.PickMode);

    // The longest selection a 16-bit width holds is taken.
    f.txtNow.setSelStart(1);
    f.txtNow.setSelLength(32767);
    app.run("lblCUT", Event::Click);
    EXPECT_EQ(f.v.PickLen, 32767);
    EXPECT_TRUE(f.v.PickMode);
    EXPECT_EQ(f.txtNo.text(), u"0");
    EXPECT_EQ(desktop.messageBox.shown.size(), 1u);
}

}  // namespace
}  // namespace kazunavi
