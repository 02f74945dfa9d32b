#include <gtest/gtest.h>

#include <set>

#include "platform/failure.h"
#include "shell/model/form1.h"
#include "shell/model/form2.h"

namespace kazunavi {
namespace {

TEST(TextBoxSelection, StaysInsideTheText) {
    Element box("t", ElementKind::TextBox);
    box.setText(u"abcdef");
    box.setSelStart(2);
    box.setSelLength(3);
    EXPECT_EQ(box.selLength(), 3);
    box.setSelStart(99);
    EXPECT_EQ(box.selStart(), 6);
    EXPECT_EQ(box.selLength(), 0);  // the selection collapsed to the caret
    box.setSelStart(4);
    box.setSelLength(50);
    EXPECT_EQ(box.selLength(), 2);
    box.setText(u"x");  // new text: caret in front, nothing selected
    EXPECT_EQ(box.selStart(), 0);
    EXPECT_EQ(box.selLength(), 0);
}

TEST(Lists, RemoveMovesLaterItemsUpAndFailsOutsideTheList) {
    Element list("List1", ElementKind::ComboBox);
    list.addItem(u"a");
    list.addItem(u"b");
    list.addItem(u"c");
    list.setListIndex(2);
    EXPECT_EQ(list.text(), u"c");
    list.removeItem(0);
    EXPECT_EQ(list.list(0), u"b");
    EXPECT_EQ(list.listIndex(), 1);  // still on "c"
    EXPECT_THROW(list.removeItem(-1), Failure);
    EXPECT_THROW(list.removeItem(2), Failure);
    EXPECT_THROW((void)list.list(2), Failure);
    list.removeItem(1);  // the selected item goes: nothing is selected or shown
    EXPECT_EQ(list.listIndex(), -1);
    EXPECT_EQ(list.text(), u"");
    EXPECT_EQ(list.listCount(), 1);
    list.setListIndex(0);
    list.clearItems();
    EXPECT_EQ(list.listIndex(), -1);
    EXPECT_EQ(list.listCount(), 0);
}

TEST(Lists, ShowingTheTextOfAnItemSelectsIt) {
    Element list("List1", ElementKind::ComboBox);
    list.addItem(u"x");
    list.addItem(u"y");
    list.setText(u"y");
    EXPECT_EQ(list.listIndex(), 1);
    list.setText(u"none of them");
    EXPECT_EQ(list.listIndex(), -1);
}

TEST(MainWindowModel, HoldsEveryNamedElementOnce) {
    Form1 f;
    std::set<std::string> names;
    for (const Element& e : f.elements()) {
        EXPECT_TRUE(names.insert(e.name()).second) << "twice: " << e.name();
    }
    for (int i = 0; i <= 8; ++i) {
        EXPECT_EQ(f.Label4(i).name(), "Label4(" + std::to_string(i) + ")");
    }
    for (int i : {0, 3, 4, 5}) {
        EXPECT_EQ(f.Label5(i).text(), u"|");
    }
    for (int i : {0, 1, 4, 5}) {
        EXPECT_EQ(f.Line3(i).container, "Pic1");
    }
    EXPECT_EQ(f.Command6(1).toolTipText, u"Kazunaviの終了");
    EXPECT_THROW(f.Label5(1), Failure);
    EXPECT_THROW(f.element("nothing"), Failure);
}

// Design values beyond those the start-up scenario checks.
TEST(MainWindowModel, DesignValuesOfTheWorkingElements) {
    Form1 f;
    EXPECT_EQ(f.txtKeyWord.text(), u"://");
    EXPECT_EQ(f.Text2.text(), u"http://");
    EXPECT_EQ(f.lblNoo.text(), u"Label6");
    EXPECT_EQ(f.lblOldURL.text(), u"lblOldURL");
    EXPECT_EQ(f.lblURLright.text(), u"lblURLright");
    EXPECT_EQ(f.lblNO.text(), u"lblNO");
    EXPECT_EQ(f.lblURL.text(), u"lblURL");
    EXPECT_EQ(f.lblLIMIT.text(), u"ON");
    EXPECT_TRUE(f.lblB.hidden && !f.lblB.visible);
    EXPECT_EQ(f.lblAccess.toolTipText, u"クリップボードとKazunaviのクリア");
}

TEST(MainWindowModel, TimersInTableOrderWithTheirIntervals) {
    Form1 f;
    std::vector<std::pair<std::string, int>> table;
    for (const Timer* t : f.timers()) {
        table.emplace_back(t->name(), t->interval());
    }
    const std::vector<std::pair<std::string, int>> expected = {
        {"Timer1", 50},     {"Timer2", 50}, {"Timer3", 100}, {"timCrip", 500},
        {"timGETURL", 500}, {"Cup", 50},    {"Cdwn", 50}};
    EXPECT_EQ(table, expected);
    EXPECT_FALSE(f.timCrip.enabled());  // started as the last step of the load
}

TEST(MainWindowModel, FocusCannotGoToADisabledBox) {
    Form1 f;
    EXPECT_THROW(f.setFocus(f.txtNo), Failure);
    f.txtNo.enabled = true;
    f.setFocus(f.txtNo);
    EXPECT_EQ(f.focused(), "txtNo");
}

TEST(AboutBoxModel, ElementsOfTheAboutBox) {
    Form2 about;
    EXPECT_TRUE(about.Label2.font.underline);
    EXPECT_NE(about.find("Label1(3)"), nullptr);
    EXPECT_EQ(about.find("Label1(2)"), nullptr);
}

}  // namespace
}  // namespace kazunavi
