// The main window shows the element model: places in pixels (twips / 15),
// Windows colour values, captions, disabled state; and follows the model.

#include "qt_fixture.h"
#include "ui/qt/qt_units.h"

namespace kazunavi::testing {
namespace {

using ViewTest = QtWindowTest;

TEST_F(ViewTest, OpensCollapsedAtTheStripSize) {
    start();
    EXPECT_TRUE(view().isVisible());
    EXPECT_EQ(view().size(), QSize(182, 46));  // 2730 x 685 twips
    EXPECT_TRUE(view().windowFlags() & Qt::FramelessWindowHint);
}

TEST_F(ViewTest, ElementsSitAtTheirPlacesInPixels) {
    start();
    // txtNow: 240, 60, 1890 x 285 twips.
    EXPECT_EQ(widget("txtNow")->geometry(), QRect(16, 4, 126, 19));
    // UPbutton lies in Picture4, at its top-left corner.
    QWidget* up = widget("UPbutton");
    EXPECT_EQ(up->parentWidget(), widget("Picture4"));
    EXPECT_EQ(up->geometry(), QRect(0, 0, 17, 14));
    // DWNbutton at 255 twips touches UPbutton's right edge at 260: rounded
    // edges keep them touching, not overlapping by a pixel and not apart.
    EXPECT_EQ(widget("DWNbutton")->geometry().left(), up->geometry().right() + 1);
}

TEST_F(ViewTest, TheExitButtonLiesAboveTheLabelAndFrameBeneathIt) {
    start();
    EXPECT_EQ(view().childAt(8, 8), widget("Command6(1)"));
}

TEST_F(ViewTest, StorageElementsAreNotShown) {
    start();
    for (const char* name : {"lblOldURL", "lblNoo", "lblSTR", "lURL", "List2"}) {
        EXPECT_EQ(view().widgetOf(name), nullptr) << name;
    }
}

TEST_F(ViewTest, ColoursAreWindowsColourValuesWithRedInTheLowByte) {
    start();
    // Command6(1): back colour 0x0000FF is red.
    EXPECT_EQ(pixelOf(widget("Command6(1)"), QPoint(6, 4)), QColor(255, 0, 0));
    // Picture4: black.
    EXPECT_EQ(pixelOf(widget("Picture4"), QPoint(35, 16)), QColor(0, 0, 0));
    // txtNow: back 0xB3D7DF is red DF, green D7, blue B3.
    EXPECT_EQ(widget("txtNow")->palette().color(QPalette::Base), QColor(0xDF, 0xD7, 0xB3));
    // lblAuto: text 0x0000FF at start.
    EXPECT_TRUE(drawsColour(widget("lblAuto"), QColor(255, 0, 0)));
}

TEST_F(ViewTest, CaptionsAndDisabledStateFollowTheModel) {
    start();
    EXPECT_EQ(elementView("lblCUT")->shown().text, u"PICK");
    EXPECT_EQ(elementView("UPbutton")->shown().text, u"+");
    EXPECT_FALSE(widget("UPbutton")->isEnabled());
    EXPECT_FALSE(widget("txtNo")->isEnabled());
    EXPECT_TRUE(widget("lblAuto")->isEnabled());
    EXPECT_EQ(widget("lblAuto")->toolTip(), QStringLiteral("自動閲覧 On/Off"));
}

TEST_F(ViewTest, AHandlerThatChangesTheModelChangesTheScreen) {
    start();
    views_->dispatch("lblAuto", Event::Click, 0);  // automatic browsing off: dark red
    EXPECT_EQ(elementView("lblAuto")->shown().fore, Colour{112});
    EXPECT_TRUE(drawsColour(widget("lblAuto"), QColor(112, 0, 0)));
    EXPECT_FALSE(drawsColour(widget("lblAuto"), QColor(255, 0, 0)));
}

TEST_F(ViewTest, ExpandingGrowsTheWindowDownwards) {
    start();
    const QPoint corner = view().pos();
    views_->dispatch("lblOPEN", Event::Click, 0);
    EXPECT_EQ(view().size(), QSize(182, 197));  // 2955 twips
    EXPECT_EQ(view().pos(), corner);
    EXPECT_EQ(elementView("lblOPEN")->shown().text, u"▲");
    views_->dispatch("lblOPEN", Event::Click, 0);
    EXPECT_EQ(view().size(), QSize(182, 46));
}

TEST_F(ViewTest, ASyncWithNothingChangedTouchesNothing) {
    start();
    views_->syncAll();
    EXPECT_FALSE(views_->syncAll());
    // The lamp tick writes its colours on every tick, changed or not.
    ASSERT_TRUE(app_->run("Timer3", Event::Timer));
    EXPECT_FALSE(views_->syncAll());
    sim_.windowManager.foreground = 0;
    ASSERT_TRUE(app_->run("Timer3", Event::Timer));
    EXPECT_TRUE(views_->syncAll());
}

TEST_F(ViewTest, TheDetailAreaFitsTheExpandedWindowWithoutOverlaps) {
    start();
    views_->dispatch("lblOPEN", Event::Click, 0);
    const QRect detail(0, 46, 182, 197 - 46);
    std::vector<std::pair<std::string, QRect>> placed;
    for (const Element& e : f().elements()) {
        QWidget* w = view().widgetOf(e.name());
        if (w == nullptr || !e.container.empty() || e.geometry.top < 685 ||
            e.kind() == ElementKind::Line) {
            continue;
        }
        EXPECT_TRUE(detail.contains(w->geometry())) << e.name();
        for (const auto& [other, rect] : placed) {
            EXPECT_FALSE(rect.intersects(w->geometry())) << e.name() << " overlaps " << other;
        }
        placed.emplace_back(e.name(), w->geometry());
    }
    EXPECT_GT(placed.size(), 20u);
}

TEST_F(ViewTest, OneWordCaptionsAreNotCut) {
    start();
    views_->dispatch("lblOPEN", Event::Click, 0);
    for (const Element& e : f().elements()) {
        auto* label = dynamic_cast<LabelView*>(view().viewOf(view().widgetOf(e.name())));
        const QString caption = qText(e.text());
        if (label == nullptr || caption.isEmpty() || caption.contains(QLatin1Char(' ')) ||
            e.name() == "lblURL") {
            continue;
        }
        QFont font = qFont(e.font);
        // Drawn at most a third (two pixels at least) smaller than designed.
        font.setPixelSize(font.pixelSize() - std::max(2, font.pixelSize() / 3));
        EXPECT_LE(QFontMetrics(font).horizontalAdvance(caption), label->width())
            << e.name() << " \"" << caption.toStdString() << "\"";
    }
}

TEST_F(ViewTest, TheAboutBoxShowsTheProgramsNameWhole) {
    start();
    views_->dispatch("lblEDIT", Event::Click, 0);
    FormView* about = views_->aboutView();
    ASSERT_NE(about, nullptr);
    auto* name = dynamic_cast<LabelView*>(about->viewOf(about->widgetOf("Label3")));
    ASSERT_NE(name, nullptr);
    QFont font = qFont(name->element().font);
    font.setPixelSize(font.pixelSize() - std::max(2, font.pixelSize() / 3));
    EXPECT_LE(QFontMetrics(font).horizontalAdvance(QStringLiteral("「Kazunavi」")), name->width());
}

}  // namespace
}  // namespace kazunavi::testing
