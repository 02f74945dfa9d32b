// Text boxes, the memo and the drop-down list: Qt's own editing widgets in
// the colours of the inventory.

#include <QAbstractItemView>
#include <QFocusEvent>
#include <QPainter>
#include <QTextBlock>
#include <limits>

#include "ui/qt/element_views.h"
#include "ui/qt/qt_units.h"

namespace kazunavi {

// ---------------------------------------------------------------- text boxes

TextBoxView::TextBoxView(Element& element, QWidget* parent) : RelayingView(element, parent) {
    setFont(qFont(element.font));
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
    const QString now = text();
    if (QStringView(shown_.text) != now) {
        std::u16string whole = u16(now);
        // What lies beyond the part shown stays behind the edit.
        if (const std::u16string& model = element_.text();
            model.size() > shown_.text.size() && model.starts_with(shown_.text)) {
            whole.append(model, shown_.text.size());
        }
        shown_.text = u16(now);
        element_.setText(std::move(whole));
    }
    const int start = hasSelectedText() ? selectionStart() : cursorPosition();
    const int length = hasSelectedText() ? static_cast<int>(selectionLength()) : 0;
    element_.setSelStart(start);
    element_.setSelLength(length);
    shown_.selStart = element_.selStart();
    shown_.selLength = element_.selLength();
}

bool TextBoxView::sync() {
    bool changed = syncCommon(*this);
    if (!attached_) {
        return false;
    }
    changed = syncFieldColours(*this) || changed;
    const bool newText = contentNew_ && shownPart(element_.text()) != shown_.text;
    if (newText || element_.selStart() != shown_.selStart ||
        element_.selLength() != shown_.selLength) {
        applying_ = true;
        if (newText) {
            shown_.text = shownPart(element_.text());
            setText(qText(shown_.text));
        }
        shown_.selStart = element_.selStart();
        shown_.selLength = element_.selLength();
        // The model's selection, as far as it lies in the part shown.
        const int shownLength = static_cast<int>(shown_.text.size());
        const int start = std::min(shown_.selStart, shownLength);
        const int length = std::min(shown_.selLength, shownLength - start);
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
    if (contentNew_ && element_.items() != shown_.items) {
        shown_.items = element_.items();
        clear();
        for (const auto& item : shown_.items) {
            addItem(qText(item));
        }
        shown_.listIndex = -2;
        changed = true;
    }
    if (element_.listIndex() != shown_.listIndex) {
        shown_.listIndex = element_.listIndex();
        setCurrentIndex(shown_.listIndex);
        changed = true;
    }
    if (contentNew_) {
        shown_.text = element_.text();
    }
    return changed;
}

}  // namespace kazunavi
