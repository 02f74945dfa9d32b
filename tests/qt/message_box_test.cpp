// Message boxes: the style's icon and buttons, the exact title, the answer.

#include <QAbstractButton>
#include <QMessageBox>
#include <QTimer>

#include "platform/qt/qt_message_box.h"
#include "qt_fixture.h"

namespace kazunavi::testing {
namespace {

struct SeenBox {
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QStringList buttons;
};

// Looks at the box once it is open and presses a button (or a key).
void answerNextBox(SeenBox& seen, QMessageBox::StandardButton press, int key = 0) {
    QTimer::singleShot(0, [&seen, press, key] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        seen.title = box->windowTitle();
        seen.text = box->text();
        seen.icon = box->icon();
        for (QAbstractButton* b : box->buttons()) {
            seen.buttons << b->text();
        }
        if (key != 0) {
            QTest::keyClick(box, static_cast<Qt::Key>(key));
        } else {
            box->button(press)->click();
        }
    });
}

TEST(QtMessageBoxTest, Style48HasTheWarningIconAndOk) {
    QtMessageBox boxes;
    SeenBox seen;
    answerNextBox(seen, QMessageBox::Ok);
    const int answer =
        boxes.show(u"数値リミッタが作動中です。", kExclamationOk, u"Kazunavi　Erroｒ_02");
    EXPECT_EQ(answer, kAnswerOk);
    EXPECT_EQ(seen.title, QStringLiteral("Kazunavi　Erroｒ_02"));
    EXPECT_EQ(seen.icon, QMessageBox::Warning);
    EXPECT_EQ(seen.buttons, QStringList{QStringLiteral("OK")});
}

TEST(QtMessageBoxTest, Style1HasOkAndCancelWithoutIcon) {
    QtMessageBox boxes;
    SeenBox seen;
    answerNextBox(seen, QMessageBox::Cancel);
    EXPECT_EQ(boxes.show(u"削除しますか？", kOkCancel, u"「Kazunavi」確認メッセージ"),
              kAnswerCancel);
    EXPECT_EQ(seen.icon, QMessageBox::NoIcon);
    EXPECT_EQ(seen.buttons.size(), 2);
    EXPECT_TRUE(seen.buttons.contains(QStringLiteral("キャンセル")));
    EXPECT_EQ(seen.title, QStringLiteral("「Kazunavi」確認メッセージ"));

    answerNextBox(seen, QMessageBox::Ok);
    EXPECT_EQ(boxes.show(u"削除しますか？", kOkCancel, u"「Kazunavi」確認メッセージ"), kAnswerOk);
}

TEST(QtMessageBoxTest, EscapeIsCancelWhereThereIsOne) {
    QtMessageBox boxes;
    SeenBox seen;
    answerNextBox(seen, QMessageBox::NoButton, Qt::Key_Escape);
    EXPECT_EQ(boxes.show(u"?", kOkCancel, u"t"), kAnswerCancel);
    answerNextBox(seen, QMessageBox::NoButton, Qt::Key_Escape);
    EXPECT_EQ(boxes.show(u"!", kExclamationOk, u"t"), kAnswerOk);
}

TEST(QtMessageBoxTest, LinesJoinedByCrLfAreShownAsLines) {
    QtMessageBox boxes;
    SeenBox seen;
    answerNextBox(seen, QMessageBox::Ok);
    boxes.show(u"一行目\r\n二行目", kExclamationOk, u"t");
    EXPECT_EQ(seen.text, QStringLiteral("一行目\n二行目"));
}

TEST(QtMessageBoxTest, TheWindowShowsTheStateBeforeTheBoxOpens) {
    QtMessageBox boxes;
    std::vector<std::string> order;
    boxes.setBeforeShow([&] { order.push_back("sync"); });
    SeenBox seen;
    QTimer::singleShot(0, [&] {
        order.push_back("box");
        qobject_cast<QMessageBox*>(QApplication::activeModalWidget())
            ->button(QMessageBox::Ok)
            ->click();
    });
    boxes.show(u"x", kExclamationOk, u"t");
    EXPECT_EQ(order, (std::vector<std::string>{"sync", "box"}));
}

}  // namespace
}  // namespace kazunavi::testing
