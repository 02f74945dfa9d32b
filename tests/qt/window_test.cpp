// The windows show their element models and follow them; the about box
// comes and goes with its model.

#include "qt_fixture.h"
#include "ui/common/view_kinds.h"
#include "ui/qt/qt_units.h"
#include "ui/qt/skins.h"

namespace kazunavi::testing {
namespace {

using WindowTest = QtWindowTest;

LabelView* labelView(FormView& form, const char* name) {
    return dynamic_cast<LabelView*>(form.viewOf(form.widgetOf(name)));
}

// How many label views a window has built; how many labels its model has.
std::ptrdiff_t labelViews(const FormView& form) {
    const QList<QWidget*> children = form.findChildren<QWidget*>();
    return std::ranges::count_if(children,
                                 [](QWidget* w) { return dynamic_cast<LabelView*>(w) != nullptr; });
}
std::ptrdiff_t labelsOf(Window& model) {
    return std::ranges::count_if(model.elements(),
                                 [](Element& e) { return viewKindOf(e) == ViewKind::Label; });
}

// A caption of one line is drawn at most a third (two pixels at least)
// smaller than designed, and its ink is no wider than its label.
bool captionFits(FormView& form, const Element& e) {
    LabelView* label = labelView(form, e.name().c_str());
    if (label == nullptr) {
        return true;
    }
    const QFontMetrics shown(label->shownFont());
    const QString caption = qText(e.text());
    if (e.text().find(u' ') != std::u16string::npos ||
        shown.boundingRect(label->rect(), Qt::TextWordWrap, caption).height() >=
            2 * shown.lineSpacing()) {
        return true;
    }
    const int designed = qFont(e.font).pixelSize();
    return label->shownFont().pixelSize() >= designed - std::max(2, designed / 3) &&
           shown.tightBoundingRect(caption).width() <= label->width();
}

TEST_F(WindowTest, TheMainWindowShowsItsInventoryAndFollowsIt) {
    // Before start-up the main window is not loaded: its lamp ticks into nothing.
    sim_.windowManager.foreground = 0x4400017;  // another program in front
    QTest::qWait(300);
    EXPECT_EQ(f().Command6(1).backColor(), Colour{0x0000FF});
    sim_.windowManager.foreground = Form1::kHandle;
    start();
    EXPECT_EQ(view().size(), QSize(182, 46));  // 2730 x 685 twips
    EXPECT_TRUE(view().windowFlags() & Qt::FramelessWindowHint);
    // The closed detail area waits until the window grows to show it.
    const std::ptrdiff_t collapsed = labelViews(view());
    EXPECT_LT(collapsed, labelsOf(f()) - 10);
    views_->dispatch("lblOPEN", Event::Click, 0);
    EXPECT_EQ(labelViews(view()), labelsOf(f()));
    views_->dispatch("lblOPEN", Event::Click, 0);
    std::vector<QWidget*> detail;  // the detail area's own elements lie inside it, apart
    for (const Element& e : f().elements()) {
        QWidget* w = view().widgetOf(e.name());
        ASSERT_EQ(w == nullptr, e.hidden) << e.name();  // storage elements are not shown
        if (w == nullptr) {
            continue;
        }
        EXPECT_EQ(w->parentWidget(), e.container.empty() ? &view() : widget(e.container.c_str()));
        EXPECT_TRUE(e.kind() == ElementKind::Line || w->geometry() == pixelQRect(e.geometry));
        EXPECT_EQ(w->isEnabled(), e.enabled()) << e.name();
        EXPECT_EQ(view().viewOf(w)->shown().text, e.text()) << e.name();
        EXPECT_EQ(u16(w->toolTip()), e.toolTipText()) << e.name();
        // Screen readers: a caption names it, else the tooltip; a field's text never does.
        const bool field = e.isTextBox() || e.isList();
        EXPECT_EQ(u16(w->accessibleName()), field || e.text().empty() ? e.toolTipText() : e.text())
            << e.name();
        EXPECT_EQ(w->accessibleDescription(), w->toolTip()) << e.name();
        EXPECT_TRUE(captionFits(view(), e)) << e.name();
        if (e.container.empty() && e.geometry.top >= 685 && e.kind() != ElementKind::Line) {
            EXPECT_TRUE(QRect(0, 46, 182, 151).contains(w->geometry())) << e.name();
            for (QWidget* other : detail) {
                EXPECT_FALSE(other->geometry().intersects(w->geometry())) << e.name();
            }
            detail.push_back(w);
        }
    }
    EXPECT_GT(detail.size(), 20u);
    // The credit line's tiny letters stay inside its label, 6 pixels high.
    const QFontMetrics credit(labelView(view(), "Label7")->shownFont());
    const QRect creditInk = credit.tightBoundingRect(qText(f().element("Label7").text()));
    EXPECT_GE(credit.ascent() + creditInk.top(), 0);
    EXPECT_LT(credit.ascent() + creditInk.bottom(), widget("Label7")->height());
    // Red in the low byte: 0x0000FF (the lamp, lblAuto's text) is drawn red.
    EXPECT_EQ(pixelOf(widget("Command6(1)"), QPoint(6, 4)), QColor(255, 0, 0));
    EXPECT_TRUE(drawsColour(widget("lblAuto"), QColor(255, 0, 0)));
    EXPECT_EQ(pixelOf(widget("Label4(5)"), QPoint(1, 1)), QColor(255, 255, 255));  // MEMO: opaque
    // Touching in twips is touching in pixels; the exit button lies on top.
    EXPECT_EQ(widget("DWNbutton")->geometry().left(), widget("UPbutton")->geometry().right() + 1);
    EXPECT_EQ(view().childAt(8, 8), widget("Command6(1)"));
    EXPECT_TRUE(QFontInfo(qFont(Font{u"ＭＳ Ｐゴシック", 11.25})).family().contains("IPA"));

    // A tick that changes nothing touches nothing; a click shows its change.
    EXPECT_FALSE(views_->syncAll());
    ASSERT_TRUE(app_->run("Timer3", Event::Timer));  // the lamp writes its colours unchanged
    EXPECT_FALSE(views_->syncAll());
    views_->dispatch("lblAuto", Event::Click, 0);  // automatic browsing off: dark red
    EXPECT_TRUE(drawsColour(widget("lblAuto"), QColor(112, 0, 0)));
    EXPECT_FALSE(drawsColour(widget("lblAuto"), QColor(255, 0, 0)));
    // Expanding grows the window downwards.
    const QPoint corner = view().pos();
    views_->dispatch("lblOPEN", Event::Click, 0);
    EXPECT_EQ(view().size(), QSize(182, 197));  // 2955 twips
    EXPECT_EQ(view().pos(), corner);
    EXPECT_EQ(view().viewOf(widget("lblOPEN"))->shown().text, u"▲");
    // The pictures of the surface and of the detail area's panel, drawn when shown.
    const QImage shown = view().grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QImage metal = brushedMetal();
    int bare = 0;  // pixels where the surface shows through
    for (int y = 0; y < shown.height(); ++y) {
        for (int x = 0; x < shown.width(); ++x) {
            bare += shown.pixel(x, y) == metal.pixel(x, y) ? 1 : 0;
        }
    }
    EXPECT_GT(bare, 1000);
    EXPECT_EQ(pixelOf(widget("Pic1"), QPoint(2, 2)), greyTexture().pixelColor(2, 2));
    views_->dispatch("lblOPEN", Event::Click, 0);
    EXPECT_EQ(view().size(), QSize(182, 46));
    // The lamp's timer ticks and the window shows it dark.
    sim_.windowManager.foreground = 0x4400017;
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return pixelOf(widget("Command6(1)"), QPoint(6, 4)) == QColor(0x80, 0, 0); }));
}

TEST_F(WindowTest, TheAboutBoxComesAndGoesWithItsModel) {
    start();
    views_->dispatch("lblEDIT", Event::Click, 0);
    FormView* about = views_->aboutView();
    ASSERT_NE(about, nullptr);
    EXPECT_TRUE(about->isVisible());
    EXPECT_EQ(about->windowTitle(), QStringLiteral("Kazunavi  について..."));
    EXPECT_EQ(about->size(), QSize(312, 174));                // 4680 x 2610 twips
    EXPECT_EQ(labelViews(*about), labelsOf(*app_->form2()));  // all built as it opened
    EXPECT_NE(about->widgetOf("Picture1"), nullptr);
    for (const Element& e : app_->form2()->elements()) {
        EXPECT_TRUE(captionFits(*about, e)) << e.name();
    }
    // The name, wider than its label in the stand-in face, keeps the
    // design's 12 points bold: a narrow face rather than a smaller size.
    const QFont& name = labelView(*about, "Label3")->shownFont();
    EXPECT_EQ(name.pixelSize(), 16);
    EXPECT_TRUE(name.bold());
    views_->dispatch("lblEDIT", Event::Click, 0);
    EXPECT_EQ(views_->aboutView(), about);  // one box at a time

    // The help link opens the page and the box goes inside the link's own click.
    QTest::mouseClick(about->widgetOf("Label2"), Qt::LeftButton);
    EXPECT_EQ(sim_.browser.navigations.size(), 1u);
    EXPECT_EQ(app_->form2(), nullptr);
    EXPECT_EQ(views_->aboutView(), nullptr);
    QApplication::processEvents();

    // Closed by the window manager it is unloaded; the window manager closing
    // the main window ends the program, both windows gone.
    views_->dispatch("lblEDIT", Event::Click, 0);
    views_->aboutView()->close();
    EXPECT_EQ(app_->form2(), nullptr);
    EXPECT_EQ(views_->aboutView(), nullptr);
    views_->dispatch("lblEDIT", Event::Click, 0);
    view().close();
    EXPECT_TRUE(app_->ended());
    EXPECT_TRUE(sim_.programExit.ended);
    EXPECT_FALSE(view().isVisible());
    EXPECT_EQ(views_->aboutView(), nullptr);
    QApplication::processEvents();
}

}  // namespace
}  // namespace kazunavi::testing

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");  // no display needed
    QApplication app(argc, argv);
    kazunavi::applyProgramLook();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
