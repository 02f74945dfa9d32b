#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include "shell/model/window.h"
#include "ui/common/element_sync.h"
#include "ui/common/units.h"
#include "ui/common/window_sync.h"

namespace kazunavi {
namespace {

// The windows place the inventory in pixels of each screen's density:
// elements that touch in twips touch in pixels at every density.
TEST(ScreenUnits, TwipsBecomePixelsAtEachDensityAndNeighboursStillTouch) {
    EXPECT_EQ(pixels(7), 0);
    EXPECT_EQ(pixels(8), 1);  // halves away from zero
    EXPECT_EQ(pixels(-8), -1);
    EXPECT_EQ(pixels(2730), 182);
    EXPECT_EQ(pixels(15, 144), 2);  // 1.5 pixels
    EXPECT_EQ(pixels(2955, 120), 246);
    EXPECT_EQ(pixels(2955, 192), 394);
    for (int dpi : {96, 120, 144, 192}) {
        for (int edge : {7, 253, 1000, 2715}) {
            const PixelRect left = pixelRect({30, 60, edge - 30, 135}, dpi);
            const PixelRect right = pixelRect({edge, 60, 300, 135}, dpi);
            EXPECT_EQ(left.left + left.width, right.left) << dpi << " " << edge;
            EXPECT_FALSE(left.contains(right.left, right.top));
            EXPECT_TRUE(right.contains(right.left, right.top));
        }
    }
}

class TextBoxSync : public ElementSync {
  public:
    using ElementSync::ElementSync;
    TextChange sync() {
        syncCommonState();
        return syncTextBox();
    }
    using ElementSync::pullTextBox;
    using ElementSync::shownSelection;
};

// What a view shows is sent to the control once per change; the user's edit
// of the part shown keeps what lies beyond it in the model.
TEST(ViewSync, ChangesGoOutOnceAndEditsKeepTheTailBeyondThePartShown) {
    Element box("txtNow", ElementKind::TextBox);
    box.setText(std::u16string(kShownLength, u'a') + u"tail");
    TextBoxSync view(box);
    EXPECT_TRUE(view.sync().text);
    EXPECT_EQ(view.shown().text.size(), kShownLength);
    EXPECT_FALSE(view.sync().selection);
    box.setSelStart(5);
    box.setSelLength(10);
    const auto change = view.sync();
    EXPECT_TRUE(change.selection && !change.text);
    EXPECT_EQ(view.shownSelection(), std::make_pair(5, 10));
    view.pullTextBox(u"b" + std::u16string(kShownLength - 1, u'a'), 1, 0);
    EXPECT_EQ(box.text(), u"b" + std::u16string(kShownLength - 1, u'a') + u"tail");
    EXPECT_EQ(box.selStart(), 1);
    EXPECT_FALSE(view.sync().selection);  // the view has it already

    // A view is due for a sync only after a real change of its element.
    EXPECT_FALSE(view.due());
    box.setEnabled(true);
    box.setForeColor(std::nullopt);
    EXPECT_FALSE(view.due());
    for (auto modify : std::initializer_list<void (*)(Element&)>{
             [](Element& e) { e.setBackColor(1); }, [](Element& e) { e.setFillColor(2); },
             [](Element& e) { e.setVisible(false); }, [](Element& e) { e.setSelLength(3); },
             [](Element& e) { e.setToolTipText(u"tip"); },
             [](Element& e) {  // two changes never undo each other's count
                 e.addItem(u"item");
                 e.removeItem(0);
             },
             [](Element& e) {
                 e.setFillColor(7);
                 e.setSelStart(0);
             },
             [](Element& e) {
                 e.setFillColor(8);
                 e.setSelLength(0);
             }}) {
        modify(box);
        EXPECT_TRUE(view.due());
        view.sync();
        EXPECT_FALSE(view.due());
    }
    box.setSelStart(0);
    view.sync();
    box.setText(box.sharedText());  // the same text, the caret in front already
    EXPECT_FALSE(view.due());

    Window window("Form1", 1);
    WindowSync shown;
    window.visible = true;
    window.width = 10;
    EXPECT_TRUE(shown.sync(window).firstShown);
    window.visible = false;
    shown.sync(window);
    window.visible = true;
    const WindowChanges again = shown.sync(window);
    EXPECT_TRUE(again.visible && !again.firstShown && !again.size);
    EXPECT_TRUE(shown.elementsChanged(window));  // the first sync syncs every view
    EXPECT_FALSE(shown.elementsChanged(window));
}

}  // namespace
}  // namespace kazunavi
