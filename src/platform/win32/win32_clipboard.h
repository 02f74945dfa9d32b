#pragma once

// The system clipboard on Windows, Unicode text, opened with a window of the
// program's own. A clipboard that another program holds open is a failure at
// once: the call never waits for it. A text is read again only after the
// system's count of clipboard changes moved: a text that stays costs no copy,
// and no opening that another program could refuse.

#include <windows.h>

#include <optional>

#include "platform/services.h"

namespace kazunavi {

class Win32Clipboard : public Clipboard {
  public:
    // owner: the window the clipboard is opened with; it owns what setText puts there.
    explicit Win32Clipboard(HWND owner) : owner_(owner) {}

    // Needs no opening, so it never fails.
    bool hasText() override;
    // The text up to its first NUL.
    SharedText text() override;
    void clear() override;
    void setText(std::u16string_view text) override;

  private:
    struct Read {
        DWORD sequence;
        SharedText text;
    };
    HWND owner_;
    std::optional<Read> last_;
};

}  // namespace kazunavi
