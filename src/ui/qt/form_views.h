#pragma once

// The application's windows on the screen: the main window and, while it is
// loaded, the about box. Every event of a window and every timer tick goes
// through here into the application; afterwards every window is brought in
// line with the model.

#include <QObject>
#include <QPointer>
#include <memory>
#include <string_view>

#include "platform/timer.h"
#include "shell/application.h"
#include "ui/qt/form_view.h"

namespace kazunavi {

class QtWindowManager;

class FormViews : public QObject {
    Q_OBJECT
  public:
    // windows (may be null) learns which native window is which form.
    FormViews(Application& app, QtWindowManager* windows);
    ~FormViews() override;
    FormViews(const FormViews&) = delete;
    FormViews& operator=(const FormViews&) = delete;

    // Runs the event procedure of target and shows what it changed.
    void dispatch(std::string_view target, Event event, int button);
    // A click on an element of the main window as a user makes it: nothing
    // when the element (or what holds it) is disabled.
    void press(std::string_view target);
    // A tick of one of the main window's timers.
    void tick(Timer& timer);
    // Brings every window in line with the model: opens and closes the about
    // box, hides everything once the program has ended. True when anything
    // changed on the screen.
    bool syncAll();
    // Shows the state as it stands at once, while a handler keeps the
    // user-interface thread busy (the hold after a press).
    void showNow();

    FormView& mainView() { return *main_; }
    FormView* aboutView() { return about_.get(); }
    // The window a message box belongs to: the main window while it is shown.
    QWidget* messageOwner();

  private:
    void focusChanged(QWidget* old, QWidget* now);
    void closeAbout();

    Application& app_;
    QtWindowManager* windows_;
    std::unique_ptr<FormView> main_;
    std::unique_ptr<FormView> about_;
    const Window* aboutModel_ = nullptr;
};

}  // namespace kazunavi
