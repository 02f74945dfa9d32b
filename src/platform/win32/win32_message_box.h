#pragma once

// The message box on Windows: modal, owned by the program's window and shown
// above it. The logic's styles and answers are Windows' own numbers.

#include <windows.h>

#include <functional>

#include "platform/services.h"

namespace kazunavi {

class Win32MessageBox : public MessageBoxService {
  public:
    // owner: the program's window; none while there is no window.
    explicit Win32MessageBox(HWND owner) : owner_([owner] { return owner; }) {}
    // The window the box belongs to (null: none), asked at every box.
    void setOwner(std::function<HWND()> owner) { owner_ = std::move(owner); }
    // Runs before the box opens, so that the windows show the state as it stands.
    void setBeforeShow(std::function<void()> beforeShow) { beforeShow_ = std::move(beforeShow); }

    // Throws Failure when the box cannot be shown.
    int show(std::u16string_view prompt, int style, std::u16string_view title) override;

  private:
    std::function<HWND()> owner_;
    std::function<void()> beforeShow_;
};

}  // namespace kazunavi
