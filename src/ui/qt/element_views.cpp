#include "ui/qt/element_views.h"

#include <QAbstractItemView>
#include <QFocusEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionFocusRect>
#include <QTextBlock>
#include <algorithm>
#include <limits>

#include "ui/qt/qt_units.h"

namespace kazunavi {

namespace {

// Grey of disabled captions, with the white of their engraving.
const QColor kGreyText(0x80, 0x80, 0x80);
const QColor kEngraving(0xFF, 0xFF, 0xFF);

int alignmentOf(Alignment a) {
    switch (a) {
        case Alignment::Right:
            return Qt::AlignRight;
        case Alignment::Center:
            return Qt::AlignHCenter;
        case Alignment::Left:
            break;
    }
    return Qt::AlignLeft;
}

// Caption text as a label draws it: from the top, wrapped at word breaks.
void drawCaption(QPainter& p, const QRect& r, const Design& d, const Shown& s,
                 const QColor& normal) {
    const int flags = alignmentOf(d.alignment) | Qt::AlignTop | Qt::TextWordWrap;
    const QString text = qText(s.text);
    if (!s.enabled) {
        p.setPen(kEngraving);
        p.drawText(r.translated(1, 1), flags, text);
        p.setPen(kGreyText);
        p.drawText(r, flags, text);
        return;
    }
    p.setPen(s.fore ? qColour(*s.fore) : normal);
    p.drawText(r, flags, text);
}

void setRoleColour(QPalette& palette, QPalette::ColorRole role, const QColor& colour) {
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        palette.setColor(group, role, colour);
    }
}

// Field colours: back and text in every state; disabled text greyed.
void applyFieldColours(QWidget& w, const std::optional<Colour>& fore,
                       const std::optional<Colour>& back) {
    QPalette palette;
    if (back) {
        setRoleColour(palette, QPalette::Base, qColour(*back));
        setRoleColour(palette, QPalette::Button, qColour(*back));
    } else {
        setRoleColour(palette, QPalette::Base, Qt::white);
    }
    if (fore) {
        for (auto role : {QPalette::Text, QPalette::ButtonText, QPalette::WindowText}) {
            palette.setColor(QPalette::Active, role, qColour(*fore));
            palette.setColor(QPalette::Inactive, role, qColour(*fore));
        }
    }
    for (auto role : {QPalette::Text, QPalette::ButtonText, QPalette::WindowText}) {
        palette.setColor(QPalette::Disabled, role, kGreyText);
    }
    w.setPalette(palette);
}

}  // namespace

int buttonCode(Qt::MouseButton button) {
    switch (button) {
        case Qt::LeftButton:
            return 1;
        case Qt::RightButton:
            return 2;
        case Qt::MiddleButton:
            return 4;
        default:
            return 0;
    }
}

int buttonState(Qt::MouseButtons buttons) {
    return (buttons & Qt::LeftButton ? 1 : 0) | (buttons & Qt::RightButton ? 2 : 0) |
           (buttons & Qt::MiddleButton ? 4 : 0);
}

bool ElementView::syncCommon(QWidget& w) {
    if (!attached_) {
        return false;
    }
    bool changed = false;
    const Geometry& g = element_.geometry;
    if (g.left != shown_.geometry.left || g.top != shown_.geometry.top ||
        g.width != shown_.geometry.width || g.height != shown_.geometry.height) {
        shown_.geometry = g;
        if (element_.kind() != ElementKind::Line) {
            w.setGeometry(pixelRect(g));
        }
        changed = true;
    }
    if (element_.enabled != shown_.enabled) {
        shown_.enabled = element_.enabled;
        w.setEnabled(shown_.enabled);
        changed = true;
    }
    if (element_.visible != shown_.visible) {
        shown_.visible = element_.visible;
        w.setVisible(shown_.visible);
        changed = true;
    }
    if (element_.toolTipText != shown_.toolTip) {
        shown_.toolTip = element_.toolTipText;
        w.setToolTip(qText(shown_.toolTip));
    }
    return changed;
}

bool ElementView::syncCaption() {
    if (element_.text() == shown_.text && element_.foreColor == shown_.fore &&
        element_.backColor == shown_.back) {
        return false;
    }
    shown_.text = element_.text();
    shown_.fore = element_.foreColor;
    shown_.back = element_.backColor;
    return true;
}

void ElementView::relayPress(QMouseEvent* event) {
    event->accept();
    pressedLeft_ = event->button() == Qt::LeftButton;
    relay(Event::MouseDown, buttonCode(event->button()));
}

void ElementView::relayMove(QMouseEvent* event) {
    event->accept();
    relay(Event::MouseMove, buttonState(event->buttons()));
}

void ElementView::relayRelease(QMouseEvent* event, const QRect& inside) {
    event->accept();
    const bool click = pressedLeft_ && event->button() == Qt::LeftButton &&
                       inside.contains(event->position().toPoint());
    if (event->button() == Qt::LeftButton) {
        pressedLeft_ = false;
    }
    relay(Event::MouseUp, buttonCode(event->button()));
    // The mouse-up handler may have disabled the element; a disabled element
    // receives nothing more.
    if (click && attached_ && element_.enabled) {
        relay(Event::Click, 0);
    }
}

// ---------------------------------------------------------------- labels

LabelView::LabelView(Element& element, QWidget* parent)
    : QWidget(parent), ElementView(element), font_(qFont(element.font)), fitted_(font_) {
    setFont(font_);
    setMouseTracking(true);
    setFocusPolicy(Qt::NoFocus);
    // The flags start opposite to the model so that the first sync sets them.
    shown_.enabled = !element.enabled;
    shown_.visible = !element.visible;
    shown_.geometry.width = -1;
    sync();
}

bool LabelView::sync() {
    bool changed = syncCommon(*this);
    if (!attached_) {
        return false;
    }
    changed = syncCaption() || changed;
    if (changed) {
        fitCaption();
        update();
    }
    return changed;
}

void LabelView::fitCaption() {
    // The stand-in faces are a little wider than the design's fonts: a
    // caption that would be cut (a word wider than the label, or more
    // wrapped lines than the label holds) is drawn smaller instead, by up to
    // a third of its size (two pixels at least).
    fitted_ = font_;
    const QString caption = qText(shown_.text);
    if (caption.isEmpty() || font_.pixelSize() <= 0) {
        return;
    }
    const QRect room = design_.border ? rect().adjusted(1, 1, -1, -1) : rect();
    const int flags = alignmentOf(design_.alignment) | Qt::AlignTop | Qt::TextWordWrap;
    auto fits = [&](const QFont& font) {
        const QFontMetrics metrics(font);
        const QRect used = metrics.boundingRect(room, flags, caption);
        // One line may reach below a small label (the design's captions are
        // capitals); more lines must fit in it.
        const bool oneLine = used.height() < 2 * metrics.lineSpacing();
        return used.width() <= room.width() && (oneLine || used.height() <= room.height());
    };
    const int smallest = font_.pixelSize() - std::max(2, font_.pixelSize() / 3);
    while (!fits(fitted_) && fitted_.pixelSize() > smallest) {
        fitted_.setPixelSize(fitted_.pixelSize() - 1);
    }
    if (!fits(fitted_)) {
        fitted_ = font_;  // cut either way: keep the design's size
    }
}

void LabelView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setFont(fitted_);
    if (!design_.transparent) {
        p.fillRect(rect(), shown_.back ? qColour(*shown_.back) : palette().color(QPalette::Window));
    }
    QRect inner = rect();
    if (design_.border) {
        p.setPen(QColor(0x40, 0x40, 0x40));
        p.drawRect(rect().adjusted(0, 0, -1, -1));
        inner.adjust(1, 1, -1, -1);
    }
    drawCaption(p, inner, design_, shown_, Qt::black);
}

// ---------------------------------------------------------------- panels

PanelView::PanelView(Element& element, QPixmap picture, QWidget* parent)
    : QWidget(parent), ElementView(element), picture_(std::move(picture)) {
    setMouseTracking(true);
    setFocusPolicy(Qt::NoFocus);
    shown_.enabled = !element.enabled;
    shown_.visible = !element.visible;
    shown_.geometry.width = -1;
    sync();
}

bool PanelView::sync() {
    bool changed = syncCommon(*this);
    if (attached_ && element_.backColor != shown_.back) {
        shown_.back = element_.backColor;
        changed = true;
    }
    if (changed) {
        update();
    }
    return changed;
}

void PanelView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), shown_.back ? qColour(*shown_.back) : palette().color(QPalette::Window));
    if (!picture_.isNull()) {
        p.drawPixmap(0, 0, picture_);
    }
}

// ---------------------------------------------------------------- shapes and lines

ShapeView::ShapeView(Element& element, bool solidFill, QWidget* parent)
    : QWidget(parent), ElementView(element), solidFill_(solidFill) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    shown_.enabled = !element.enabled;
    shown_.visible = !element.visible;
    shown_.geometry.width = -1;
    shown_.fill = ~element.fillColor;
    sync();
}

bool ShapeView::sync() {
    bool changed = syncCommon(*this);
    if (attached_ && element_.fillColor != shown_.fill) {
        shown_.fill = element_.fillColor;
        changed = true;
    }
    if (changed) {
        update();
    }
    return changed;
}

void ShapeView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QColor border = design_.borderColor ? qColour(*design_.borderColor) : Qt::black;
    p.setPen(border);
    p.setBrush(solidFill_ ? QBrush(qColour(shown_.fill)) : QBrush(Qt::NoBrush));
    const QRect r = rect().adjusted(0, 0, -1, -1);
    if (design_.shape == ShapeForm::Circle) {
        p.setRenderHint(QPainter::Antialiasing);
        const int side = std::min(r.width(), r.height());
        p.drawEllipse(QRectF(r.center().x() - side / 2.0, r.center().y() - side / 2.0, side, side)
                          .adjusted(0.5, 0.5, 0.5, 0.5));
    } else {
        p.drawRect(r);
    }
}

LineView::LineView(Element& element, QWidget* parent) : QWidget(parent), ElementView(element) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    shown_.enabled = !element.enabled;
    shown_.visible = !element.visible;
    shown_.geometry.width = -1;
    sync();
}

bool LineView::sync() {
    const bool moved = element_.geometry.left != shown_.geometry.left ||
                       element_.geometry.top != shown_.geometry.top ||
                       element_.geometry.width != shown_.geometry.width ||
                       element_.geometry.height != shown_.geometry.height;
    const bool changed = syncCommon(*this);
    if (attached_ && moved) {
        // The line runs from (left, top) to (width, height); the widget is
        // the box around it, one pixel wider so that the end point shows.
        const Geometry& g = element_.geometry;
        const QPoint a(pixels(g.left), pixels(g.top));
        const QPoint b(pixels(g.width), pixels(g.height));
        const QRect box = QRect(a, b).normalized().adjusted(0, 0, 1, 1);
        setGeometry(box);
        from_ = a - box.topLeft();
        to_ = b - box.topLeft();
        update();
    }
    return changed;
}

void LineView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setPen(design_.borderColor ? qColour(*design_.borderColor) : Qt::black);
    p.drawLine(from_, to_);
}

// ---------------------------------------------------------------- buttons

ButtonView::ButtonView(Element& element, QWidget* parent)
    : QAbstractButton(parent), ElementView(element) {
    setFont(qFont(element.font));
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    shown_.enabled = !element.enabled;
    shown_.visible = !element.visible;
    shown_.geometry.width = -1;
    connect(this, &QAbstractButton::clicked, this, [this] {
        // A click by the keyboard (space) arrives here too.
        if (attached_ && element_.enabled && !pressedLeft_) {
            relay(Event::Click, 0);
        }
    });
    sync();
}

bool ButtonView::sync() {
    bool changed = syncCommon(*this);
    if (!attached_) {
        return false;
    }
    changed = syncCaption() || changed;
    if (changed) {
        update();
    }
    return changed;
}

void ButtonView::mousePressEvent(QMouseEvent* event) {
    QAbstractButton::mousePressEvent(event);
    pressedLeft_ = event->button() == Qt::LeftButton;
    relay(Event::MouseDown, buttonCode(event->button()));
}

void ButtonView::mouseMoveEvent(QMouseEvent* event) {
    QAbstractButton::mouseMoveEvent(event);
    relay(Event::MouseMove, buttonState(event->buttons()));
}

void ButtonView::mouseReleaseEvent(QMouseEvent* event) {
    const bool click = pressedLeft_ && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    relay(Event::MouseUp, buttonCode(event->button()));
    // The button's own release (its pressed look, the keyboard's clicked
    // signal) runs; the click of the mouse goes out here, after mouse-up.
    QAbstractButton::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton) {
        pressedLeft_ = false;
    }
    if (click && attached_ && element_.enabled) {
        relay(Event::Click, 0);
    }
}

void ButtonView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QRect r = rect();
    const QColor face = shown_.back ? qColour(*shown_.back) : palette().color(QPalette::Button);
    p.fillRect(r, face);
    const bool sunken = isDown();
    // Two-pixel bevel: light above and left, dark below and right; the other
    // way round while pressed.
    const QColor light = sunken ? QColor(0x40, 0x40, 0x40) : QColor(0xFF, 0xFF, 0xFF);
    const QColor dark = sunken ? QColor(0xFF, 0xFF, 0xFF) : QColor(0x40, 0x40, 0x40);
    const QColor lightInner = sunken ? QColor(0x80, 0x80, 0x80) : face.lighter(115);
    const QColor darkInner = sunken ? face.lighter(115) : QColor(0x80, 0x80, 0x80);
    const int x0 = r.left();
    const int y0 = r.top();
    const int x1 = r.right();
    const int y1 = r.bottom();
    p.setPen(light);
    p.drawLine(x0, y0, x1 - 1, y0);
    p.drawLine(x0, y0, x0, y1 - 1);
    p.setPen(dark);
    p.drawLine(x0, y1, x1, y1);
    p.drawLine(x1, y0, x1, y1);
    if (r.width() > 6 && r.height() > 6) {
        p.setPen(lightInner);
        p.drawLine(x0 + 1, y0 + 1, x1 - 2, y0 + 1);
        p.drawLine(x0 + 1, y0 + 1, x0 + 1, y1 - 2);
        p.setPen(darkInner);
        p.drawLine(x0 + 1, y1 - 1, x1 - 1, y1 - 1);
        p.drawLine(x1 - 1, y0 + 1, x1 - 1, y1 - 1);
    }
    const QRect textRect = sunken ? r.translated(1, 1) : r;
    const QString caption = qText(shown_.text);
    if (!caption.isEmpty()) {
        const int flags = Qt::AlignCenter | Qt::TextSingleLine;
        if (!shown_.enabled) {
            p.setPen(kEngraving);
            p.drawText(textRect.translated(1, 1), flags, caption);
            p.setPen(kGreyText);
        } else {
            p.setPen(shown_.fore ? qColour(*shown_.fore) : QColor(Qt::black));
        }
        p.drawText(textRect, flags, caption);
    }
    if (hasFocus() && r.width() > 12 && r.height() > 12) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = r.adjusted(3, 3, -3, -3);
        focus.backgroundColor = face;
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &p, this);
    }
}

// ---------------------------------------------------------------- text boxes

TextBoxView::TextBoxView(Element& element, QWidget* parent)
    : QLineEdit(parent), ElementView(element) {
    setFont(qFont(element.font));
    setFrame(false);
    setMaxLength(std::numeric_limits<int>::max());
    setMouseTracking(true);
    applyFieldColours(*this, element.foreColor, element.backColor);
    shown_.fore = element.foreColor;
    shown_.back = element.backColor;
    shown_.enabled = !element.enabled;
    shown_.visible = !element.visible;
    shown_.geometry.width = -1;
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
        shown_.text = u16(now);
        element_.setText(shown_.text);
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
    if (element_.foreColor != shown_.fore || element_.backColor != shown_.back) {
        shown_.fore = element_.foreColor;
        shown_.back = element_.backColor;
        applyFieldColours(*this, shown_.fore, shown_.back);
        changed = true;
    }
    const bool newText = element_.text() != shown_.text;
    if (newText || element_.selStart() != shown_.selStart ||
        element_.selLength() != shown_.selLength) {
        applying_ = true;
        if (newText) {
            shown_.text = element_.text();
            setText(qText(shown_.text));
        }
        shown_.selStart = element_.selStart();
        shown_.selLength = element_.selLength();
        if (shown_.selLength > 0) {
            setSelection(shown_.selStart, shown_.selLength);
        } else {
            setCursorPosition(shown_.selStart);
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

void TextBoxView::mousePressEvent(QMouseEvent* event) {
    QLineEdit::mousePressEvent(event);
    pressedLeft_ = event->button() == Qt::LeftButton;
    relay(Event::MouseDown, buttonCode(event->button()));
}

void TextBoxView::mouseMoveEvent(QMouseEvent* event) {
    QLineEdit::mouseMoveEvent(event);
    relay(Event::MouseMove, buttonState(event->buttons()));
}

void TextBoxView::mouseReleaseEvent(QMouseEvent* event) {
    QLineEdit::mouseReleaseEvent(event);
    relayRelease(event, rect());
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

MemoView::MemoView(Element& element, QWidget* parent)
    : QPlainTextEdit(parent), ElementView(element) {
    setFont(qFont(element.font));
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(1);
    setMouseTracking(true);
    viewport()->setMouseTracking(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    document()->setDocumentMargin(1);
    applyFieldColours(*this, element.foreColor, element.backColor);
    shown_.fore = element.foreColor;
    shown_.back = element.backColor;
    shown_.enabled = !element.enabled;
    shown_.visible = !element.visible;
    shown_.geometry.width = -1;
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
    if (element_.foreColor != shown_.fore || element_.backColor != shown_.back) {
        shown_.fore = element_.foreColor;
        shown_.back = element_.backColor;
        applyFieldColours(*this, shown_.fore, shown_.back);
        changed = true;
    }
    if (element_.text() != shown_.text) {
        applying_ = true;
        shown_.text = element_.text();
        setPlainText(shownLines(shown_.text));
        applying_ = false;
        changed = true;
    }
    return changed;
}

void MemoView::mousePressEvent(QMouseEvent* event) {
    QPlainTextEdit::mousePressEvent(event);
    pressedLeft_ = event->button() == Qt::LeftButton;
    relay(Event::MouseDown, buttonCode(event->button()));
}

void MemoView::mouseMoveEvent(QMouseEvent* event) {
    QPlainTextEdit::mouseMoveEvent(event);
    relay(Event::MouseMove, buttonState(event->buttons()));
}

void MemoView::mouseReleaseEvent(QMouseEvent* event) {
    QPlainTextEdit::mouseReleaseEvent(event);
    relayRelease(event, viewport()->rect());
}

// ---------------------------------------------------------------- drop-down list

ComboView::ComboView(Element& element, QWidget* parent) : QComboBox(parent), ElementView(element) {
    setFont(qFont(element.font));
    setEditable(false);
    setMouseTracking(true);
    setSizeAdjustPolicy(QComboBox::AdjustToContentsOnFirstShow);
    applyFieldColours(*this, element.foreColor, element.backColor);
    shown_.fore = element.foreColor;
    shown_.back = element.backColor;
    shown_.enabled = !element.enabled;
    shown_.visible = !element.visible;
    shown_.geometry.width = -1;
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
    if (element_.foreColor != shown_.fore || element_.backColor != shown_.back) {
        shown_.fore = element_.foreColor;
        shown_.back = element_.backColor;
        applyFieldColours(*this, shown_.fore, shown_.back);
        changed = true;
    }
    const QSignalBlocker quiet(this);
    if (element_.items() != shown_.items) {
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
    shown_.text = element_.text();
    return changed;
}

void ComboView::mousePressEvent(QMouseEvent* event) {
    QComboBox::mousePressEvent(event);
    pressedLeft_ = event->button() == Qt::LeftButton;
    relay(Event::MouseDown, buttonCode(event->button()));
}

void ComboView::mouseMoveEvent(QMouseEvent* event) {
    QComboBox::mouseMoveEvent(event);
    relay(Event::MouseMove, buttonState(event->buttons()));
}

void ComboView::mouseReleaseEvent(QMouseEvent* event) {
    QComboBox::mouseReleaseEvent(event);
    relayRelease(event, rect());
}

}  // namespace kazunavi
