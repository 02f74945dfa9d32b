#include "platform/qt/qt_message_box.h"

#include <QAbstractButton>
#include <QMessageBox>

#include "platform/qt/qt_text.h"

namespace kazunavi {

int QtMessageBox::show(std::u16string_view prompt, int style, std::u16string_view title) {
    if (beforeShow_) {
        beforeShow_();
    }
    QMessageBox box(owner_ ? owner_() : nullptr);
    box.setWindowTitle(qText(title));
    // Above the program's own always-on-top window (a second copy's box too),
    // with a title and a close button but nothing to minimise or maximise.
    box.setWindowFlags(kBoxWindowFlags | Qt::WindowStaysOnTopHint);
    box.setTextFormat(Qt::PlainText);
    QString text = qText(prompt);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    box.setText(text);
    if (style == kOkCancel) {
        box.setIcon(QMessageBox::NoIcon);
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        box.setDefaultButton(QMessageBox::Ok);
        box.setEscapeButton(QMessageBox::Cancel);
        box.button(QMessageBox::Cancel)->setText(QStringLiteral("キャンセル"));
    } else {
        box.setIcon(style == kExclamationOk ? QMessageBox::Warning : QMessageBox::NoIcon);
        box.setStandardButtons(QMessageBox::Ok);
        box.setEscapeButton(QMessageBox::Ok);
    }
    box.exec();
    return box.clickedButton() == box.button(QMessageBox::Cancel) ? kAnswerCancel : kAnswerOk;
}

}  // namespace kazunavi
