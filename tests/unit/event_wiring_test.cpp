#include <gtest/gtest.h>

#include "platform/sim/sim_desktop.h"
#include "shell/application.h"

namespace kazunavi {
namespace {

// The procedures are wired by name; a misspelt name would lose its event.
TEST(EventWiring, EveryProcedureBelongsToAnElementATimerOrAWindowOfTheInventory) {
    SimDesktop desktop;
    Application app(desktop.services());
    Form2 about;
    const auto wired = app.events().wired();
    ASSERT_GT(wired.size(), 40u);
    for (const auto& [target, event] : wired) {
        const bool timer = app.form1().findTimer(target) != nullptr;
        const bool known = target == "Form1" || timer || app.form1().find(target) != nullptr ||
                           (target.starts_with("Form2.") && about.find(target.substr(6)));
        EXPECT_TRUE(known) << target;
        EXPECT_EQ(event == Event::Timer, timer) << target;
    }
    // run() tells whether a procedure ran; none runs once the program ended.
    // The window is loaded from its start to its end: the views tick only then.
    app.start();
    EXPECT_TRUE(app.form1().loaded);
    EXPECT_FALSE(app.run("Label4(3)", Event::Click));
    EXPECT_TRUE(app.run("Command6(1)", Event::Click));
    ASSERT_TRUE(app.ended());
    EXPECT_FALSE(app.form1().loaded);
    EXPECT_FALSE(app.run("lblOPEN", Event::Click));
}

}  // namespace
}  // namespace kazunavi
