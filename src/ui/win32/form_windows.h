#pragma once

// The application's windows on Windows: the main window and, while it is
// loaded, the about box. Every event of a window and every timer tick goes
// through here into the application; afterwards every window is brought in
// line with the model.

#include <windows.h>

#include <memory>
#include <string_view>
#include <vector>

#include "platform/timer.h"
#include "shell/application.h"
#include "ui/win32/form_window.h"

namespace kazunavi {

class Win32WindowManager;

class FormWindows {
  public:
    // windows (may be null) learns which native window is which form; icon
    // (not owned) is the program's.
    FormWindows(Application& app, Win32WindowManager* windows, HICON icon);
    ~FormWindows();
    FormWindows(const FormWindows&) = delete;
    FormWindows& operator=(const FormWindows&) = delete;

    // Runs the event procedure of target and shows what it changed.
    void dispatch(std::string_view target, Event event, int button);
    // A tick of one of the main window's timers.
    void tick(Timer& timer);
    // Brings every window in line with the model: opens and closes the about
    // box, hides everything once the program has ended. True when anything
    // changed on the screen.
    bool syncAll();
    // Shows the state as it stands at once, while a handler keeps the
    // user-interface thread busy (the hold after a press).
    void showNow();
    // The window a message box belongs to: the main window while it is shown.
    HWND messageOwner() const;
    // Runs the message loop until the program ends; its exit status.
    int run();

  private:
    void closeAbout();
    // Called around every entry from the system: windows closed meanwhile
    // go once no procedure of theirs is running.
    void enter() { ++depth_; }
    void leave();

    Application& app_;
    Win32WindowManager* windows_;
    HICON icon_;
    std::unique_ptr<FormWindow> main_;
    std::unique_ptr<FormWindow> about_;
    const Window* aboutModel_ = nullptr;
    std::vector<std::unique_ptr<FormWindow>> closed_;
    int depth_ = 0;
};

}  // namespace kazunavi
