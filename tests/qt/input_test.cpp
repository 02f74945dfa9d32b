// Input goes into the model before any procedure runs; mouse events reach
// the procedures (a move with the button held: the end-to-end drag); timers
// tick only while enabled; message boxes show their style and answer.

#include <QAbstractButton>
#include <QComboBox>
#include <QFontDatabase>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QTimer>
#include <set>

#include "platform/qt/qt_message_box.h"
#include "qt_fixture.h"
#include "ui/qt/qt_units.h"

namespace kazunavi::testing {
namespace {

class InputTest : public QtWindowTest {
  protected:
    void SetUp() override {
        start();
        view().activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&view()));
    }
    // Replaces the procedures of a target with ones that write down the calls.
    void record(const std::string& target) {
        for (Event e : {Event::MouseDown, Event::MouseUp, Event::Click, Event::MouseMove}) {
            app_->events().on(target, e, [this, e](int button) {
                calls_.push_back(std::string(eventName(e)) + " " + std::to_string(button));
            });
        }
    }
    std::vector<std::string> calls_;
};

TEST_F(InputTest, TypingSelectingAndChoosingGoIntoTheModel) {
    auto* now = static_cast<QLineEdit*>(widget("txtNow"));
    now->setFocus();
    QTest::keyClicks(now, QStringLiteral("http://a/b07.jpg"));
    EXPECT_EQ(f().txtNow.text(), u"http://a/b07.jpg");
    EXPECT_EQ(f().txtNow.selStart(), 16);
    // "07" selected from its end backwards: SelStart is the left end; the
    // selection stays in the model when the focus leaves.
    for (Qt::KeyboardModifier held : {Qt::NoModifier, Qt::NoModifier, Qt::NoModifier,
                                      Qt::NoModifier, Qt::ShiftModifier, Qt::ShiftModifier}) {
        QTest::keyClick(now, Qt::Key_Left, held);
    }
    widget("Text1")->setFocus();
    EXPECT_EQ(f().txtNow.selStart(), 10);
    EXPECT_EQ(f().txtNow.selLength(), 2);
    EXPECT_EQ(f().focused(), "Text1");
    // Text set by the model puts the caret in front and is not taken for typing.
    f().txtNow.setText(u"http://host/x.html");
    views_->syncAll();
    EXPECT_EQ(now->cursorPosition(), 0);
    f().txtNow.setSelStart(7);
    f().txtNow.setSelLength(4);
    views_->syncAll();
    EXPECT_EQ(now->selectedText(), QStringLiteral("host"));
    EXPECT_EQ(f().txtNow.text(), u"http://host/x.html");
    // Of a text longer than any address the box and the tooltips hold the
    // first part, never half a character; typing keeps the rest.
    const std::u16string head(kShownLength - 1, u'a'), whole = head + u"😀tail";
    f().txtNow.setText(whole);
    f().txtNow.setSelStart(5000);
    f().lblCripDirect.setToolTipText(whole);
    f().lblCNT.setText(u"b" + whole);
    views_->syncAll();
    EXPECT_EQ(u16(now->text()), head);
    EXPECT_EQ(now->cursorPosition(), static_cast<int>(head.size()));
    EXPECT_EQ(u16(widget("lblCripDirect")->toolTip()), head);
    EXPECT_EQ(view().viewOf(widget("lblCNT"))->shown().text, u"b" + head);
    now->setCursorPosition(0);
    QTest::keyClicks(now, QStringLiteral("x"));
    EXPECT_EQ(f().txtNow.text(), u"x" + whole);
    EXPECT_FALSE(views_->syncAll());  // the box shows what the model's first part is

    // The memo keeps its lines with CR LF, both ways.
    auto* memo = static_cast<QPlainTextEdit*>(widget("txtMemo"));
    memo->setFocus();
    QTest::keyClicks(memo, QStringLiteral("one"));
    QTest::keyClick(memo, Qt::Key_Return);
    QTest::keyClicks(memo, QStringLiteral("two"));
    EXPECT_EQ(f().txtMemo.text(), u"one\r\ntwo");
    f().txtMemo.setText(u"a\r\nb");
    views_->syncAll();
    EXPECT_EQ(memo->toPlainText(), QStringLiteral("a\nb"));

    // Choosing from the list selects the item; items the model removes go.
    f().List1.addItem(u"first page");
    f().List1.addItem(u"second page");
    f().List1.setListIndex(0);
    views_->syncAll();
    auto* list = static_cast<QComboBox*>(widget("List1"));
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Down);
    EXPECT_EQ(f().List1.listIndex(), 1);
    EXPECT_EQ(f().List1.text(), u"second page");
    f().List1.removeItem(0);
    views_->syncAll();
    EXPECT_EQ(list->count(), 1);
    EXPECT_EQ(list->currentText(), QStringLiteral("second page"));
    // The focus goes where the model sends it.
    f().setFocus(f().txtMemo);
    views_->syncAll();
    EXPECT_TRUE(memo->hasFocus());
}

TEST_F(InputTest, MouseEventsReachTheProceduresDownUpClick) {
    const std::vector<std::string> leftClick{"MouseDown 1", "MouseUp 1", "Click 0"};
    const struct {
        const char* target;
        Qt::MouseButton button;
        std::vector<std::string> calls;
    } clicks[] = {
        {"lblCUT", Qt::LeftButton, leftClick},
        {"lblCUT", Qt::RightButton, {"MouseDown 2", "MouseUp 2"}},
        {"Command4", Qt::LeftButton, leftClick},
        {"UPbutton", Qt::LeftButton, {}},      // disabled elements receive nothing (the
        {"Label1", Qt::LeftButton, {}},        // window under a label does: not recorded yet)
        {"Form1", Qt::LeftButton, leftClick},  // the bare surface is the window's own
    };
    for (const auto& click : clicks) {
        record(click.target);
        calls_.clear();
        const bool surface = std::string_view(click.target) == "Form1";
        QTest::mouseClick(surface ? &view() : widget(click.target), click.button, {},
                          surface ? QPoint(170, 2) : QPoint());
        EXPECT_EQ(calls_, click.calls) << click.target;
    }
    // Tab in the collapsed window reaches no field of the hidden detail area,
    // and of the labels only those with a click procedure; Space clicks them.
    widget("txtNow")->setFocus();
    std::set<std::string> reached;
    for (int press = 0; press < 24; ++press) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        const QWidget* at = QApplication::focusWidget();
        const std::string name = view().viewOf(at)->element().name();
        reached.insert(name);
        EXPECT_TRUE(view().rect().contains(at->mapTo(&view(), at->rect().center()))) << name;
        EXPECT_TRUE(!dynamic_cast<const LabelView*>(at) ||
                    app_->events().find(name, Event::Click) != nullptr)
            << name;
    }
    EXPECT_TRUE(reached.contains("lblAuto") && reached.contains("lblCUT"));
    widget("lblAuto")->setFocus();
    QTest::keyClick(widget("lblAuto"), Qt::Key_Space);
    EXPECT_FALSE(f().v.AutoOn);
    // The space key clicks a button.
    calls_.clear();
    widget("Command4")->setFocus();
    QTest::keyClick(widget("Command4"), Qt::Key_Space);
    EXPECT_EQ(calls_, std::vector<std::string>{"Click 0"});
}

TEST(QtTimerHostTest, ATimerTicksOnlyWhileEnabledFromAFreshInterval) {
    QtTimerHost host;
    int ticks = 0;
    host.setTick([&](Timer&) { ++ticks; });
    Timer timer("t", 20);
    timer.attach(&host);
    {
        Timer released("r", 10);  // a released timer leaves the host
        released.attach(&host);
        released.setEnabled(true);
    }
    QTest::qWait(100);
    EXPECT_EQ(ticks, 0);  // created stopped
    timer.setEnabled(true);
    EXPECT_TRUE(QTest::qWaitFor([&] { return ticks >= 3; }, 2000));
    timer.setEnabled(false);
    const int stopped = ticks;
    QTest::qWait(100);
    EXPECT_EQ(ticks, stopped);
    timer.setInterval(300);
    timer.setEnabled(true);
    QTest::qWait(200);
    const int left = host.qtTimer(timer)->remainingTime();
    timer.setEnabled(false);
    timer.setEnabled(true);
    EXPECT_GT(host.qtTimer(timer)->remainingTime(), left);  // the whole interval again
}

TEST(QtMessageBoxTest, StylesTitlesAndAnswers) {
    const struct {
        int style;
        std::u16string prompt, title;
        Qt::Key key;  // Enter takes the default button
        QMessageBox::Icon icon;
        int answer;
    } cases[] = {
        {kExclamationOk, u"一行目\r\n二行目", u"Kazunavi　Erroｒ_02", Qt::Key_Enter,
         QMessageBox::Warning, kAnswerOk},
        {kExclamationOk, u"!", u"t", Qt::Key_Escape, QMessageBox::Warning, kAnswerOk},
        {kOkCancel, u"削除しますか？", u"「Kazunavi」確認メッセージ", Qt::Key_Enter,
         QMessageBox::NoIcon, kAnswerOk},
        {kOkCancel, u"?", u"t", Qt::Key_Escape, QMessageBox::NoIcon, kAnswerCancel},
    };
    for (const auto& c : cases) {
        QtMessageBox boxes;
        std::vector<std::string> order;
        boxes.setBeforeShow([&] { order.push_back("window shown"); });
        QTimer::singleShot(0, [&] {
            order.push_back("box open");
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            EXPECT_EQ(u16(box->windowTitle()), c.title);
            EXPECT_EQ(box->text(), qText(c.prompt).replace(QStringLiteral("\r\n"), "\n"));
            EXPECT_EQ(box->icon(), c.icon);
            // Room for the whole title in a bold title face beside four
            // buttons of a title bar, whatever the prompt's width.
            QFont titleFont = QFontDatabase::systemFont(QFontDatabase::TitleFont);
            titleFont.setBold(true);
            EXPECT_GT(box->width(),
                      QFontMetrics(titleFont).horizontalAdvance(box->windowTitle()) + 4 * 16);
            // Above the program's windows; nothing to minimise or maximise.
            const Qt::WindowFlags above = Qt::CustomizeWindowHint | Qt::WindowStaysOnTopHint;
            EXPECT_EQ(box->windowFlags() & (above | Qt::WindowMinMaxButtonsHint), above);
            EXPECT_EQ(box->buttons().size(), c.style == kOkCancel ? 2 : 1);
            EXPECT_EQ(box->button(QMessageBox::Ok)->text(), QStringLiteral("OK"));
            if (QAbstractButton* cancel = box->button(QMessageBox::Cancel)) {
                EXPECT_EQ(cancel->text(), QStringLiteral("キャンセル"));
            }
            QTest::keyClick(box, c.key);
        });
        EXPECT_EQ(boxes.show(c.prompt, c.style, c.title), c.answer);
        EXPECT_EQ(order, (std::vector<std::string>{"window shown", "box open"}));
    }
}

}  // namespace
}  // namespace kazunavi::testing
