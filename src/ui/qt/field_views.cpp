// Text boxes, the memo and the drop-down list: Qt's own editing widgets in
// the colours of the inventory.

#include <QAbstractItemView>
#include <QFocusEvent>
#include <QPainter>
#include <QTextBlock>
#include <limits>
#include <utility>

#include "ui/qt/element_views.h"
#include "ui/qt/qt_units.h"

namespace kazunavi {

// ---------------------------------------------------------------- text boxes

TextBoxView::TextBoxView(Element& element, QWidget* parent)
    : RelayingView(element, parent), designFont_(qFont(element.font)) {
    setFrame(false);
    setMaxLength(std::numeric_limits<int>::max());
    shown_.text = u"\uFFFF";  // differs from any start text
    connect(this, &QLineEdit::textEdited, this, [this] { pull(); });
    connect(this, &QLineEdit::cursorPositionChanged, this, [this] { pull(); });
    connect(this, &QLineEdit::selectionChanged, this, [this] { pull(); });
    sync();
}

void TextBoxView::pull() {
    if (applying_ || losingFocus_ || !attached_) {
        return;
    }
    const int start = hasSelectedText() ? selectionStart() : cursorPosition();
    const int length = hasSelectedText() ? static_cast<int>(selectionLength()) : 0;
    pullTextBox(u16(text()), start, length);
}

bool TextBoxView::sync() {
    bool changed = syncCommon(*this);
    if (!attached_) {
        return false;
    }
    changed = syncFieldColours(*this) || changed;
    const TextChange change = syncTextBox();
    if (change.selection) {
        applying_ = true;
        if (change.text) {
            setText(qText(shown_.text));
        }
        // The model's selection, as far as it lies in the part shown.
        const auto [start, length] = shownSelection();
        if (length > 0) {
            setSelection(start, length);
        } else {
            setCursorPosition(start);
        }
        applying_ = false;
        changed = true;
    }
    return changed;
}

void TextBoxView::paintEvent(QPaintEvent* event) {
    if (std::exchange(fontDue_, false)) {
        setFont(designFont_);
    }
    QLineEdit::paintEvent(event);
    QPainter p(this);
    p.setPen(QColor(0x80, 0x80, 0x80));
    p.drawLine(0, 0, width() - 1, 0);
    p.drawLine(0, 0, 0, height() - 1);
    p.setPen(QColor(0xE8, 0xE8, 0xE8));
    p.drawLine(1, height() - 1, width() - 1, height() - 1);
    p.drawLine(width() - 1, 1, width() - 1, height() - 1);
}

void TextBoxView::focusOutEvent(QFocusEvent* event) {
    // The box drops its selection from view when it loses the focus; the
    // model keeps SelStart and SelLength, as a text box does.
    losingFocus_ = true;
    QLineEdit::focusOutEvent(event);
    losingFocus_ = false;
}

// ---------------------------------------------------------------- memo

namespace {
QString shownLines(std::u16string_view text) {
    QString lines = qText(text);
    lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return lines;
}
std::u16string modelLines(const QString& lines) {
    QString text = lines;
    text.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
    return u16(text);
}
}  // namespace

MemoView::MemoView(Element& element, QWidget* parent) : RelayingView(element, parent) {
    setFont(qFont(element.font));
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(1);
    viewport()->setMouseTracking(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    document()->setDocumentMargin(1);
    shown_.text = u"\uFFFF";
    connect(this, &QPlainTextEdit::textChanged, this, [this] { pull(); });
    sync();
}

void MemoView::pull() {
    if (applying_ || !attached_) {
        return;
    }
    shown_.text = modelLines(toPlainText());
    element_.setText(shown_.text);
}

bool MemoView::sync() {
    bool changed = syncCommon(*this);
    if (!attached_) {
        return false;
    }
    changed = syncFieldColours(*this) || changed;
    if (contentNew_ && element_.text() != shown_.text) {
        applying_ = true;
        shown_.text = element_.text();
        setPlainText(shownLines(shown_.text));
        applying_ = false;
        changed = true;
    }
    return changed;
}

// ---------------------------------------------------------------- drop-down list

ComboView::ComboView(Element& element, QWidget* parent) : RelayingView(element, parent) {
    setFont(qFont(element.font));
    view()->setFont(font());  // the open list in the field's own small font
    setEditable(false);
    setSizeAdjustPolicy(QComboBox::AdjustToContentsOnFirstShow);
    // A flat field in the colours of the model, as the other fields are, not
    // the style's rounded button.
    setStyleSheet(
        QStringLiteral("QComboBox { border: 1px solid palette(mid); border-radius: 0px;"
                       " background: palette(base); color: palette(text); padding-left: 2px; }"));
    shown_.listIndex = -2;
    connect(this, &QComboBox::activated, this, [this](int index) {
        if (!attached_) {
            return;
        }
        element_.setListIndex(index);
        shown_.listIndex = element_.listIndex();
        shown_.text = element_.text();
    });
    sync();
}

bool ComboView::sync() {
    bool changed = syncCommon(*this);
    if (!attached_) {
        return false;
    }
    changed = syncFieldColours(*this) || changed;
    const QSignalBlocker quiet(this);
    const ListChange change = syncList();
    if (change.items) {
        clear();
        for (const auto& item : shown_.items) {
            addItem(qText(item));
        }
    }
    if (change.index) {
        setCurrentIndex(shown_.listIndex);
    }
    changed = change.items || change.index || changed;
    return changed;
}

}  // namespace kazunavi
