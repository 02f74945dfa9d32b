#pragma once

// One window of the model on the screen: its surface (background picture and
// mouse events of the bare surface) and a widget for every element that is
// shown. Storage elements get no widget.

#include <QWidget>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "shell/model/events.h"
#include "shell/model/window.h"
#include "ui/common/window_sync.h"
#include "ui/qt/element_views.h"
#include "ui/qt/skins.h"

namespace kazunavi {

class FormView : public QWidget {
    Q_OBJECT
  public:
    // An event of the window: target is the window's name for its bare
    // surface, else the element's name, with the prefix of elements that do
    // not belong to the main window ("Form2.Label2").
    using Dispatch = std::function<void(const std::string& target, Event event, int button)>;

    FormView(Window& model, std::string targetPrefix, Pictures pictures, Dispatch dispatch,
             Qt::WindowFlags flags);
    ~FormView() override;

    // The model, or nullptr once it has gone away.
    Window* model() const { return model_; }

    // Brings the window and every element in line with the model; true when
    // anything changed on the screen.
    bool sync();
    // The model goes away: the window hides and never reads it again.
    void detach();

    // The widget of an element; one that waits for the window to grow is
    // built now, with all that wait.
    QWidget* widgetOf(std::string_view elementName);
    // Prepares every view, also those built later.
    void setUp(std::function<void(ElementView&)> setUp);
    ElementView* viewOf(const QWidget* widget) const;
    // The user moved the keyboard focus to an element of this window.
    void focusTaken(ElementView& view);

  signals:
    // The system asks to close the window (the close box, the window manager).
    void closeRequested();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    // Tab walks only what the window shows: the collapsed main window hides
    // the detail area's fields.
    bool focusNextPrevChild(bool next) override;

  private:
    // Builds the views of the elements that reach into the window as high
    // as it is now (all: every one), in the elements' order.
    void buildFitting(bool all = false);
    ElementView* makeView(Element& e, QWidget* parent);
    QWidget* builtWidgetOf(std::string_view elementName) const;
    void send(const std::string& target, Event event, int button);

    Window* model_;
    std::string prefix_;
    Dispatch dispatch_;
    Pictures pictures_;
    LazyPicture background_;
    // Owned by their parent widgets (this window or a panel of it).
    std::vector<ElementView*> views_;
    std::vector<Element*> waiting_;  // for the window to grow, in order
    int builtForHeight_ = 0;
    std::function<void(ElementView&)> setUp_;
    WindowSync shown_;
    bool pressedLeft_ = false;
};

}  // namespace kazunavi
