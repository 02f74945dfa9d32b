#include <gtest/gtest.h>

#include <functional>
#include <set>

#include "platform/element.h"
#include "platform/failure.h"
#include "shell/model/form1.h"

namespace kazunavi {
namespace {

// The views compare an element's text, tooltip and list only when its
// revision moved: every change of them must move it to a revision not seen.
TEST(Element, EveryChangeOfTheTextTheTooltipOrTheListIsANewRevision) {
    Element box("List1", ElementKind::ComboBox);
    std::set<std::uint64_t> seen{box.contentRevision()};
    const std::function<void()> changes[] = {
        [&] { box.addItem(u"a"); }, [&] { box.addItem(u"b"); },        [&] { box.setListIndex(1); },
        [&] { box.setText(u"a"); }, [&] { box.setToolTipText(u"t"); }, [&] { box.removeItem(0); },
        [&] { box.clearItems(); }};
    for (const auto& change : changes) {
        change();
        EXPECT_TRUE(seen.insert(box.contentRevision()).second) << seen.size();
    }
    // A long clipboard text is held once: the same tooltip again is no
    // change, and an element given another's text shares it.
    const std::uint64_t before = box.contentRevision();
    box.setToolTipText(u"t");
    EXPECT_EQ(box.contentRevision(), before);
    Element copy("lblOldURL", ElementKind::Label);
    copy.setText(box.sharedToolTipText());
    EXPECT_EQ(&copy.text(), &box.toolTipText());
    box.addItem(u"c");
    EXPECT_THROW(box.removeItem(1), Failure);  // only an item of the list
    box.setListIndex(0);
    box.removeItem(0);  // the chosen item goes: nothing is chosen
    EXPECT_EQ(box.listIndex(), -1);
    box.addItem(u"d");
    box.setListIndex(0);
    box.clearItems();
    EXPECT_EQ(box.listIndex(), -1);
}

// A new text puts the caret in front and drops the selection.
TEST(Element, ANewTextDropsTheSelection) {
    Element box("txtNow", ElementKind::TextBox);
    box.setText(u"abc");
    box.setSelStart(1);
    box.setSelLength(2);
    box.addItem(u"abc");
    box.setText(u"abc");  // a text box's text selects no item; a list's does
    EXPECT_EQ(box.selStart() + box.selLength() + box.listIndex(), -1);
    Element list("List1", ElementKind::ComboBox);
    list.addItem(u"abc");
    list.setText(u"abc");
    EXPECT_EQ(list.listIndex(), 0);
    EXPECT_THROW(list.list(1), Failure);
}

// A view of a window whose revision did not move looks at none of its
// elements; the members of element arrays are found by array and index.
TEST(Element, AWindowCountsEveryChangeOfItsElements) {
    Form1 form;
    const std::uint64_t start = form.revision();
    form.txtNow.setText(u"x");
    EXPECT_NE(form.revision(), start);
    const std::uint64_t changed = form.revision();
    form.txtNow.setText(u"x");  // the same text, the caret in front: no change
    form.Command6(1).setEnabled(false);
    EXPECT_EQ(form.revision(), changed + 1);
    EXPECT_EQ(&form.Label4(3), form.find("Label4(3)"));
    EXPECT_THROW(form.Label4(99), Failure);
}

}  // namespace
}  // namespace kazunavi
