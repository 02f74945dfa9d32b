// Labels, panels, shapes, lines and buttons: drawn by the views themselves.

#include <QKeyEvent>
#include <QPainter>
#include <QStyleOptionFocusRect>
#include <algorithm>
#include <optional>
#include <utility>

#include "ui/qt/element_views.h"
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

}  // namespace

// ---------------------------------------------------------------- labels

LabelView::LabelView(Element& element, QWidget* parent)
    : RelayingView(element, parent), font_(qFont(element.font)), fitted_(font_) {
    setFont(font_);
    setFocusPolicy(Qt::NoFocus);
    sync();
}

bool LabelView::sync() {
    bool changed = syncCommon(*this);
    if (!attached_) {
        return false;
    }
    changed = syncCaption() || changed;
    if (changed) {
        fitDue_ = true;
        update();
    }
    return changed;
}

void LabelView::fitCaption() {
    // The stand-in faces are a little wider than the design's fonts: a
    // caption that would be cut (a word wider than the label, or more
    // wrapped lines than the label holds) is drawn in a narrow face at the
    // design's size and weight, else smaller, by up to a third of its size
    // (two pixels at least).
    if (!std::exchange(fitDue_, false)) {
        return;
    }
    fitted_ = font_;
    shift_ = 0;
    const QString caption = qText(shown_.text);
    if (caption.isEmpty() || font_.pixelSize() <= 0) {
        return;
    }
    const QRect room = design_.border ? rect().adjusted(1, 1, -1, -1) : rect();
    const int flags = alignmentOf(design_.alignment) | Qt::AlignTop | Qt::TextWordWrap;
    // How far the caption is moved sideways to fit; none where it is cut.
    auto placement = [&](const QFont& font) -> std::optional<int> {
        const QFontMetrics metrics(font);
        const QRect used = metrics.boundingRect(room, flags, caption);
        if (used.height() >= 2 * metrics.lineSpacing()) {
            return used.width() <= room.width() && used.height() <= room.height()
                       ? std::optional<int>(0)
                       : std::nullopt;
        }
        // One line may reach below a small label (the design's captions are
        // capitals). Wider than the label, it still fits where its ink does:
        // the blank half of a full-width bracket may lie outside.
        if (used.width() <= room.width()) {
            return 0;
        }
        const QRect ink = metrics.tightBoundingRect(caption).translated(used.left(), 0);
        if (ink.width() > room.width()) {
            return std::nullopt;
        }
        return ink.left() < room.left()     ? room.left() - ink.left()
               : ink.right() > room.right() ? room.right() - ink.right()
                                            : 0;
    };
    auto use = [&](const QFont& font) {
        const std::optional<int> shift = placement(font);
        if (shift) {
            fitted_ = font;
            shift_ = *shift;
        }
        return shift.has_value();
    };
    if (use(font_) || use(narrowed(font_))) {
        return;
    }
    QFont smaller = font_;
    const int smallest = font_.pixelSize() - std::max(2, font_.pixelSize() / 3);
    while (smaller.pixelSize() > smallest) {
        smaller.setPixelSize(smaller.pixelSize() - 1);
        if (use(smaller)) {
            return;
        }
    }
    // Cut either way: the design's size.
}

void LabelView::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    if (key != Qt::Key_Space && key != Qt::Key_Return && key != Qt::Key_Enter) {
        QWidget::keyPressEvent(event);
        return;
    }
    relay(Event::MouseDown, 1);
    relay(Event::MouseUp, 1);
    relay(Event::Click, 0);
}

void LabelView::paintEvent(QPaintEvent*) {
    fitCaption();
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
    drawCaption(p, inner.translated(shift_, 0), design_, shown_, Qt::black);
    if (hasFocus()) {
        p.setPen(QPen(shown_.fore ? qColour(*shown_.fore) : QColor(Qt::black), 1, Qt::DotLine));
        p.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

// ---------------------------------------------------------------- panels

PanelView::PanelView(Element& element, LazyPicture picture, QWidget* parent)
    : RelayingView(element, parent), picture_(std::move(picture)) {
    setFocusPolicy(Qt::NoFocus);
    sync();
}

bool PanelView::sync() {
    bool changed = syncCommon(*this);
    if (attached_ && element_.backColor() != shown_.back) {
        shown_.back = element_.backColor();
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
    if (const QPixmap& picture = picture_.pixmap(); !picture.isNull()) {
        p.drawPixmap(0, 0, picture);
    }
}

// ---------------------------------------------------------------- shapes and lines

ShapeView::ShapeView(Element& element, bool solidFill, QWidget* parent)
    : QWidget(parent), ElementView(element), solidFill_(solidFill) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    shown_.fill = ~element.fillColor();
    sync();
}

bool ShapeView::sync() {
    bool changed = syncCommon(*this);
    if (attached_ && element_.fillColor() != shown_.fill) {
        shown_.fill = element_.fillColor();
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

ButtonView::ButtonView(Element& element, QWidget* parent) : RelayingView(element, parent) {
    setFont(qFont(element.font));
    setFocusPolicy(Qt::StrongFocus);
    connect(this, &QAbstractButton::clicked, this, [this] {
        // A click by the keyboard (space) arrives here too.
        if (attached_ && element_.enabled() && !pressedLeft_) {
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
    if (click && attached_ && element_.enabled()) {
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

}  // namespace kazunavi
