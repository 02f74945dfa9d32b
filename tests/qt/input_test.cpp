// What the user does goes into the model before any event procedure runs:
// typing, selecting, choosing from the list, moving the focus.

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>

#include "qt_fixture.h"

namespace kazunavi::testing {
namespace {

class InputTest : public QtWindowTest {
  protected:
    void SetUp() override {
        start();
        view().activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&view()));
    }
    QLineEdit* txtNow() { return static_cast<QLineEdit*>(widget("txtNow")); }
};

TEST_F(InputTest, TypingIntoTheAddressBoxUpdatesTheModel) {
    txtNow()->setFocus();
    QTest::keyClicks(txtNow(), QStringLiteral("http://a/b7.jpg"));
    EXPECT_EQ(f().txtNow.text(), u"http://a/b7.jpg");
    EXPECT_EQ(f().txtNow.selStart(), 15);
    EXPECT_EQ(f().txtNow.selLength(), 0);
    QTest::keyClick(txtNow(), Qt::Key_Backspace);
    EXPECT_EQ(f().txtNow.text(), u"http://a/b7.jp");
}

TEST_F(InputTest, SelectingSetsSelStartAndSelLength) {
    txtNow()->setFocus();
    QTest::keyClicks(txtNow(), QStringLiteral("http://a/b07.jpg"));
    // Select "07" from its end backwards: SelStart is the left end.
    QTest::keyClick(txtNow(), Qt::Key_Left);
    QTest::keyClick(txtNow(), Qt::Key_Left);
    QTest::keyClick(txtNow(), Qt::Key_Left);
    QTest::keyClick(txtNow(), Qt::Key_Left);
    QTest::keyClick(txtNow(), Qt::Key_Left, Qt::ShiftModifier);
    QTest::keyClick(txtNow(), Qt::Key_Left, Qt::ShiftModifier);
    EXPECT_EQ(f().txtNow.selStart(), 10);
    EXPECT_EQ(f().txtNow.selLength(), 2);
}

TEST_F(InputTest, TheSelectionStaysInTheModelWhenTheFocusLeaves) {
    txtNow()->setFocus();
    QTest::keyClicks(txtNow(), QStringLiteral("abc123"));
    QTest::keyClick(txtNow(), Qt::Key_Left, Qt::ShiftModifier);
    QTest::keyClick(txtNow(), Qt::Key_Left, Qt::ShiftModifier);
    widget("Text1")->setFocus();
    ASSERT_TRUE(widget("Text1")->hasFocus());
    EXPECT_EQ(f().txtNow.selStart(), 4);
    EXPECT_EQ(f().txtNow.selLength(), 2);
    EXPECT_EQ(f().focused(), "Text1");
}

TEST_F(InputTest, TextSetByTheModelPutsTheCaretInFront) {
    txtNow()->setFocus();
    QTest::keyClicks(txtNow(), QStringLiteral("typed"));
    f().txtNow.setText(u"http://host/x.html");
    views_->syncAll();
    EXPECT_EQ(txtNow()->text(), QStringLiteral("http://host/x.html"));
    EXPECT_EQ(txtNow()->cursorPosition(), 0);
    f().txtNow.setSelStart(7);
    f().txtNow.setSelLength(4);
    views_->syncAll();
    EXPECT_EQ(txtNow()->selectedText(), QStringLiteral("host"));
    // What the model set is not taken for typing.
    EXPECT_EQ(f().txtNow.text(), u"http://host/x.html");
}

TEST_F(InputTest, TheMemoKeepsItsLinesWithCrLf) {
    auto* memo = static_cast<QPlainTextEdit*>(widget("txtMemo"));
    memo->setFocus();
    QTest::keyClicks(memo, QStringLiteral("one"));
    QTest::keyClick(memo, Qt::Key_Return);
    QTest::keyClicks(memo, QStringLiteral("two"));
    EXPECT_EQ(f().txtMemo.text(), u"one\r\ntwo");
    f().txtMemo.setText(u"a\r\nb\r\nc");
    views_->syncAll();
    EXPECT_EQ(memo->toPlainText(), QStringLiteral("a\nb\nc"));
    EXPECT_EQ(memo->document()->blockCount(), 3);
}

TEST_F(InputTest, ChoosingFromTheListSelectsTheItemInTheModel) {
    f().List1.addItem(u"first page");
    f().List1.addItem(u"second page");
    f().List1.setListIndex(0);
    views_->syncAll();
    auto* list = static_cast<QComboBox*>(widget("List1"));
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(list->currentText(), QStringLiteral("first page"));
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Down);
    EXPECT_EQ(f().List1.listIndex(), 1);
    EXPECT_EQ(f().List1.text(), u"second page");
    // Items removed by the model leave the list.
    f().List1.removeItem(0);
    views_->syncAll();
    EXPECT_EQ(list->count(), 1);
    EXPECT_EQ(list->currentText(), QStringLiteral("second page"));
}

TEST_F(InputTest, TheFocusGoesWhereTheModelSends) {
    f().setFocus(f().txtMemo);
    views_->syncAll();
    EXPECT_TRUE(widget("txtMemo")->hasFocus());
}

}  // namespace
}  // namespace kazunavi::testing
