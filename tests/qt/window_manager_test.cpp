// The window manager service without X11: the program's own windows are
// known by their model handles; titles come as the narrow window-text call
// gives them.

#include <QWidget>

#include "platform/qt/qt_window_manager.h"
#include "qt_fixture.h"
#include "ui/qt/qt_units.h"

namespace kazunavi::testing {
namespace {

TEST(QtWindowManagerTest, TitlesAreCutToTheBufferWithoutSplittingACharacter) {
    QtWindowManager windows(nullptr);
    QWidget about;
    about.setWindowTitle(QStringLiteral("Kazunavi  について..."));
    windows.attach(Form2::kHandle, &about);
    // "Kazunavi  " is 10 bytes in code page 932, "に" two more.
    EXPECT_EQ(windows.windowText(Form2::kHandle, 13), u"Kazunavi  に");
    EXPECT_EQ(windows.windowText(Form2::kHandle, 12), u"Kazunavi  ");
    EXPECT_EQ(windows.windowText(Form2::kHandle, 256), u"Kazunavi  について...");
    EXPECT_EQ(windows.windowText(Form2::kHandle, 1), u"");
    EXPECT_EQ(windows.windowText(Form2::kHandle, 0), u"");
    EXPECT_EQ(windows.windowText(0x777, 256), u"");  // unknown without X11
}

TEST(QtWindowManagerTest, ADetachedWindowIsForgotten) {
    QtWindowManager windows(nullptr);
    auto window = std::make_unique<QWidget>();
    window->setWindowTitle(QStringLiteral("x"));
    windows.attach(Form1::kHandle, window.get());
    window.reset();  // gone without detach: no dangling pointer
    EXPECT_EQ(windows.windowText(Form1::kHandle, 10), u"");
    windows.startDrag(Form1::kHandle);
    windows.keepOnTop(Form1::kHandle);
}

TEST(QtWindowManagerTest, KeepOnTopKeepsTheWindowAboveAndAsItWas) {
    QtWindowManager windows(nullptr);
    QWidget hidden;
    QWidget shown;
    shown.show();
    windows.attach(Form1::kHandle, &hidden);
    windows.attach(Form2::kHandle, &shown);
    windows.keepOnTop(Form1::kHandle);
    windows.keepOnTop(Form2::kHandle);
    EXPECT_TRUE(hidden.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_FALSE(hidden.isVisible());
    EXPECT_TRUE(shown.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(shown.isVisible());
}

using ForegroundTest = QtWindowTest;

TEST_F(ForegroundTest, TheActiveMainWindowIsForm1sHandle) {
    start();
    view().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&view()));
    EXPECT_EQ(windows_.foregroundWindow(), Form1::kHandle);
    views_->dispatch("lblEDIT", Event::Click, 0);
    views_->aboutView()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(views_->aboutView()));
    EXPECT_EQ(windows_.foregroundWindow(), Form2::kHandle);
}

TEST(QtUnitsTest, TwipsBecomePixelsWithRoundedEdges) {
    EXPECT_EQ(pixels(15), 1);
    EXPECT_EQ(pixels(7), 0);
    EXPECT_EQ(pixels(8), 1);
    EXPECT_EQ(pixels(2730), 182);
    // Two elements that touch in twips touch in pixels.
    const QRect a = pixelRect({1920, 1567, 405, 120});
    const QRect b = pixelRect({2325, 1567, 375, 120});
    EXPECT_EQ(a.right() + 1, b.left());
}

TEST(QtUnitsTest, ColoursHaveRedInTheLowByte) {
    EXPECT_EQ(qColour(0x0000FF), QColor(255, 0, 0));
    EXPECT_EQ(qColour(0xFF0000), QColor(0, 0, 255));
    EXPECT_EQ(qColour(0x2B485B), QColor(0x5B, 0x48, 0x2B));
}

TEST(QtUnitsTest, TheDesignFontsFindTheirStandIns) {
    const QFont gothic = qFont(Font{u"ＭＳ Ｐゴシック", 11.25});
    EXPECT_EQ(gothic.pixelSize(), 15);
    EXPECT_TRUE(QFontInfo(gothic).family().contains(QStringLiteral("IPA")))
        << QFontInfo(gothic).family().toStdString();
    const QFont small = qFont(Font{u"Small Fonts", 6.0, true});
    EXPECT_EQ(small.pixelSize(), 8);
    EXPECT_TRUE(small.bold());
}

}  // namespace
}  // namespace kazunavi::testing
