#pragma once

// The widgets that show the elements of a window. Each keeps a copy of what
// it shows and paints from that copy; sync() compares the model with the
// copy and touches the widget only where they differ, so that a timer tick
// that changes nothing costs no drawing. What the user does (typing,
// selecting, choosing a list item, pressing the mouse) goes back into the
// model at once.

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QWidget>
#include <functional>
#include <optional>
#include <string>

#include "platform/element.h"
#include "shell/model/events.h"
#include "ui/common/element_sync.h"
#include "ui/qt/skins.h"

namespace kazunavi {

// Mouse events of an element, with the button state (1 left, 2 right, 4 middle).
using MouseRelay = std::function<void(Event event, int button)>;

int buttonCode(Qt::MouseButton button);
int buttonState(Qt::MouseButtons buttons);

class ElementView : public ElementSync {
  public:
    explicit ElementView(Element& element) : ElementSync(element) {}

    virtual QWidget* widget() = 0;
    // Brings the widget in line with the model; true when anything changed.
    virtual bool sync() = 0;

    void setMouseRelay(MouseRelay relay) { relay_ = std::move(relay); }

  protected:
    // The properties every element has: place, enabled, visible, tooltip.
    // Returns whether any of them changed. Every sync() calls it first: it
    // also tells contentNew_.
    bool syncCommon(QWidget& w);
    // The back and text colours of a field (text box, list); true when changed.
    bool syncFieldColours(QWidget& w);
    void relay(Event event, int button) {
        if (attached_ && relay_) {
            relay_(event, button);
        }
    }
    // The press, move and release of a plain widget, with the click.
    void relayPress(QMouseEvent* event);
    void relayMove(QMouseEvent* event);
    void relayRelease(QMouseEvent* event, const QRect& inside);

    bool pressedLeft_ = false;

  private:
    MouseRelay relay_;
};

// A view on a Qt widget class whose mouse events, after the widget's own
// handling, go to the element; a left press and release inside clickArea()
// is a click.
template <class Widget>
class RelayingView : public Widget, public ElementView {
  public:
    RelayingView(Element& element, QWidget* parent) : Widget(parent), ElementView(element) {
        Widget::setMouseTracking(true);
    }
    QWidget* widget() override { return this; }

  protected:
    virtual QRect clickArea() const { return Widget::rect(); }
    void mousePressEvent(QMouseEvent* event) override {
        Widget::mousePressEvent(event);
        relayPress(event);
    }
    void mouseMoveEvent(QMouseEvent* event) override {
        Widget::mouseMoveEvent(event);
        relayMove(event);
    }
    void mouseReleaseEvent(QMouseEvent* event) override {
        Widget::mouseReleaseEvent(event);
        relayRelease(event, clickArea());
    }
};

// A label: caption in its colour and font, its background unless transparent,
// greyed and engraved while disabled.
class LabelView : public RelayingView<QWidget> {
  public:
    LabelView(Element& element, QWidget* parent);
    bool sync() override;
    // A label the user clicks is reached by Tab (never by a click: that
    // leaves the focus where it was) and clicked by Space or Enter; a dotted
    // frame marks it while it has the focus.
    void takeKeyboard() { setFocusPolicy(Qt::TabFocus); }
    // The font the caption is drawn with.
    const QFont& shownFont() {
        fitCaption();
        return fitted_;
    }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent*) override { update(); }
    void focusOutEvent(QFocusEvent*) override { update(); }

  private:
    // Fitting loads the fonts it tries: done when the caption is first drawn,
    // so that the labels of the closed detail area cost nothing at start.
    void fitCaption();
    bool fitDue_ = true;
    QFont font_;     // the design's
    QFont fitted_;   // narrow or smaller where a one-word caption would be cut
    int shift_ = 0;  // pixels the caption is drawn to the right (left if negative)
};

// A panel or picture box: its back colour or picture (drawn from the top-left
// corner, cut at the edges), holding the elements placed in it.
class PanelView : public RelayingView<QWidget> {
  public:
    PanelView(Element& element, LazyPicture picture, QWidget* parent);
    bool sync() override;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    LazyPicture picture_;
};

// A rectangle or circle, or a line. They take no mouse input: the pointer
// reaches what lies beneath them.
class ShapeView : public QWidget, public ElementView {
  public:
    ShapeView(Element& element, bool solidFill, QWidget* parent);
    QWidget* widget() override { return this; }
    bool sync() override;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    bool solidFill_;
};

class LineView : public QWidget, public ElementView {
  public:
    LineView(Element& element, QWidget* parent);
    QWidget* widget() override { return this; }
    bool sync() override;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QPoint from_;
    QPoint to_;
};

// A command button with a raised face in its back colour.
class ButtonView : public RelayingView<QAbstractButton> {
  public:
    ButtonView(Element& element, QWidget* parent);
    bool sync() override;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
};

// A single-line text box. Its text, caret and selection go into the model as
// the user changes them.
class TextBoxView : public RelayingView<QLineEdit> {
  public:
    TextBoxView(Element& element, QWidget* parent);
    bool sync() override;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

  private:
    void pull();
    // Laid out in the window's font until first drawn: loading a font of its
    // own is then left to the boxes of the detail area that is opened.
    QFont designFont_;
    bool fontDue_ = true;
    bool applying_ = false;     // the change comes from the model
    bool losingFocus_ = false;  // the selection is hidden, not given up
};

// A multi-line text box. Lines end with CR LF in the model.
class MemoView : public RelayingView<QPlainTextEdit> {
  public:
    MemoView(Element& element, QWidget* parent);
    bool sync() override;

  protected:
    QRect clickArea() const override { return viewport()->rect(); }

  private:
    void pull();
    bool applying_ = false;
};

// A drop-down list to choose from, without typing.
class ComboView : public RelayingView<QComboBox> {
  public:
    ComboView(Element& element, QWidget* parent);
    bool sync() override;
};

}  // namespace kazunavi
