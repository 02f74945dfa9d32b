// The about box comes and goes with its model; its help link closes it from
// inside its own click.

#include "qt_fixture.h"

namespace kazunavi::testing {
namespace {

class AboutBoxTest : public QtWindowTest {
  protected:
    void SetUp() override {
        start();
        app_->helpAddress = u"file:///opt/kazunavi/help/index.html";
    }
};

TEST_F(AboutBoxTest, HelpOpensOneAboutBox) {
    views_->dispatch("lblEDIT", Event::Click, 0);
    FormView* about = views_->aboutView();
    ASSERT_NE(about, nullptr);
    EXPECT_TRUE(about->isVisible());
    EXPECT_EQ(about->windowTitle(), QStringLiteral("Kazunavi  について..."));
    EXPECT_EQ(about->size(), QSize(312, 174));  // 4680 x 2610 twips
    EXPECT_NE(about->widgetOf("Picture1"), nullptr);

    views_->dispatch("lblEDIT", Event::Click, 0);
    EXPECT_EQ(views_->aboutView(), about);
}

TEST_F(AboutBoxTest, ClosingTheBoxUnloadsIt) {
    views_->dispatch("lblEDIT", Event::Click, 0);
    ASSERT_NE(views_->aboutView(), nullptr);
    views_->aboutView()->close();
    EXPECT_EQ(app_->form2(), nullptr);
    EXPECT_EQ(views_->aboutView(), nullptr);
    QApplication::processEvents();
}

TEST_F(AboutBoxTest, TheHelpLinkOpensThePageAndClosesTheBox) {
    views_->dispatch("lblEDIT", Event::Click, 0);
    QWidget* link = views_->aboutView()->widgetOf("Label2");
    ASSERT_NE(link, nullptr);
    // The box goes away inside the link's own mouse release.
    QTest::mouseClick(link, Qt::LeftButton);
    ASSERT_EQ(sim_.browser.navigations.size(), 1u);
    EXPECT_EQ(sim_.browser.navigations.front(), u"file:///opt/kazunavi/help/index.html");
    EXPECT_EQ(app_->form2(), nullptr);
    EXPECT_EQ(views_->aboutView(), nullptr);
    QApplication::processEvents();
}

TEST_F(AboutBoxTest, WithoutABrowserTheBoxStaysOpen) {
    sim_.browser.works = false;
    views_->dispatch("lblEDIT", Event::Click, 0);
    QTest::mouseClick(views_->aboutView()->widgetOf("Label2"), Qt::LeftButton);
    ASSERT_EQ(sim_.messageBox.shown.size(), 1u);
    EXPECT_EQ(sim_.messageBox.shown.front().title, u"Kazunavi　Error_08");
    EXPECT_NE(views_->aboutView(), nullptr);
}

TEST_F(AboutBoxTest, ExitClosesBothWindows) {
    views_->dispatch("lblEDIT", Event::Click, 0);
    QTest::mouseClick(widget("Command6(1)"), Qt::LeftButton);
    EXPECT_TRUE(app_->ended());
    EXPECT_TRUE(sim_.programExit.ended);
    EXPECT_FALSE(view().isVisible());
    EXPECT_EQ(views_->aboutView(), nullptr);
    QApplication::processEvents();
}

TEST_F(AboutBoxTest, TheWindowManagerClosingTheMainWindowEndsTheProgram) {
    view().close();
    EXPECT_TRUE(app_->ended());
    EXPECT_FALSE(view().isVisible());
}

}  // namespace
}  // namespace kazunavi::testing
