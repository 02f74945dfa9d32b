#include "platform/qt/qt_message_box.h"

#include <QAbstractButton>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGridLayout>
#include <QMessageBox>
#include <QSpacerItem>

#include "platform/qt/qt_text.h"

namespace kazunavi {

namespace {

// The window manager draws the title beside its buttons in a bold face of
// its own; QMessageBox sizes itself for its text and a title in the
// application's font, so that the window manager cuts a long title
// ("Kazuna..."). A row of the box's grid as wide as the title needs keeps the
// box that wide: room for the title in the bold title font, and for an icon
// and three buttons of the title bar's height with a margin on either side.
void makeRoomForTitle(QMessageBox& box) {
    QFont font = QFontDatabase::systemFont(QFontDatabase::TitleFont);
    font.setBold(true);
    const QFontMetrics metrics(font);
    const int barHeight = metrics.height() + 8;
    const int width =
        metrics.horizontalAdvance(box.windowTitle()) + 4 * barHeight + 2 * metrics.lineSpacing();
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    if (grid == nullptr) {
        return;
    }
    const QMargins margins = grid->contentsMargins();
    // The layout owns the spacer.
    grid->addItem(new QSpacerItem(width - margins.left() - margins.right(), 0, QSizePolicy::Fixed,
                                  QSizePolicy::Minimum),
                  grid->rowCount(), 0, 1, grid->columnCount());
}

}  // namespace

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
    makeRoomForTitle(box);
    box.exec();
    return box.clickedButton() == box.button(QMessageBox::Cancel) ? kAnswerCancel : kAnswerOk;
}

}  // namespace kazunavi
