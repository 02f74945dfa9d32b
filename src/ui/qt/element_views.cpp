#include "ui/qt/element_views.h"

#include <QFocusEvent>
#include <QMouseEvent>

#include "ui/qt/qt_units.h"

namespace kazunavi {

namespace {

// Grey of disabled text.
const QColor kGreyText(0x80, 0x80, 0x80);

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
    const CommonChanges changes = syncCommonState();
    if (changes.geometry && element_.kind() != ElementKind::Line) {
        w.setGeometry(pixelQRect(shown_.geometry));
    }
    if (changes.enabled) {
        w.setEnabled(shown_.enabled);
    }
    if (changes.visible) {
        w.setVisible(shown_.visible);
    }
    if (changes.toolTip) {
        w.setToolTip(qText(shown_.toolTip));
        w.setAccessibleDescription(w.toolTip());
    }
    if (changes.content) {
        // What a screen reader names it by: its caption, else its tooltip. A
        // field's text is its value, never its name.
        const bool field = element_.isTextBox() || element_.isList();
        const std::u16string_view caption =
            field ? std::u16string_view(shown_.toolTip) : shownPart(element_.text());
        const QString name = qText(caption.empty() ? std::u16string_view(shown_.toolTip) : caption);
        if (name != w.accessibleName()) {
            w.setAccessibleName(name);
        }
    }
    return changes.any();
}

bool ElementView::syncFieldColours(QWidget& w) {
    if (!ElementSync::syncFieldColours()) {
        return false;
    }
    applyFieldColours(w, shown_.fore, shown_.back);
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
    if (click && attached_ && element_.enabled()) {
        relay(Event::Click, 0);
    }
}

}  // namespace kazunavi
