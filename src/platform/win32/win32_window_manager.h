#pragma once

// The window manager on Windows. Titles are read as UTF-16 and narrowed by
// the program's own rule (code page 932 through its table, never cut inside
// a character): the ANSI call would use the system's code page, and some
// systems, and Wine, cut it inside a double-byte character.

#include <windows.h>

#include <map>

#include "platform/services.h"

namespace kazunavi {

// The logic's handle of a window: 64-bit Windows keeps window handles within
// 32 bits (sign-extended), so that 32-bit programs can share them.
WindowHandle handleOf(HWND window);
HWND windowOf(WindowHandle handle);

// The logic compares window handles: the program's own windows go by the
// handles of their models (attach), other windows by their own.
class Win32WindowManager : public WindowManager {
  public:
    void attach(WindowHandle handle, HWND window) { own_[handle] = window; }
    void detach(WindowHandle handle) { own_.erase(handle); }

    WindowHandle foregroundWindow() override;
    // Empty for a window that is gone.
    std::u16string windowText(WindowHandle window, int bufferSize) override;
    void keepOnTop(WindowHandle window) override;
    // The system's move loop, as for a press on the window's caption.
    void startDrag(WindowHandle window) override;

  private:
    HWND nativeOf(WindowHandle handle) const;

    std::map<WindowHandle, HWND> own_;
};

}  // namespace kazunavi
