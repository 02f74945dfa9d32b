#pragma once

// A window of the program's own that is never shown and gets no input (a
// message-only window): what the clipboard is opened with while there is no
// main window on Windows.

#include <windows.h>

namespace kazunavi {

class MessageWindow {
  public:
    // Throws Failure when the window cannot be made.
    MessageWindow();
    MessageWindow(const MessageWindow&) = delete;
    MessageWindow& operator=(const MessageWindow&) = delete;
    ~MessageWindow();

    HWND get() const { return window_; }

  private:
    HWND window_ = nullptr;
};

}  // namespace kazunavi
