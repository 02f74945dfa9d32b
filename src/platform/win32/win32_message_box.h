#pragma once

// The message box on Windows: modal, owned by the program's window and shown
// above it. The logic's styles and answers are Windows' own numbers.

#include <windows.h>

#include "platform/services.h"

namespace kazunavi {

class Win32MessageBox : public MessageBoxService {
  public:
    // owner: the program's window; none while there is no window.
    explicit Win32MessageBox(HWND owner) : owner_(owner) {}

    // Throws Failure when the box cannot be shown.
    int show(std::u16string_view prompt, int style, std::u16string_view title) override;

  private:
    HWND owner_;
};

}  // namespace kazunavi
