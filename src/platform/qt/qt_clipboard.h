#pragma once

// The system clipboard, plain text. Qt's clipboard writes and holds our own
// text; the text of other programs is read through the X11 selection reader,
// whose waits are bounded (a hung owner does not freeze the window).

#include <cstdint>
#include <optional>

#include "platform/services.h"

namespace kazunavi {

class BackgroundSelection;

class QtClipboard : public Clipboard {
  public:
    // foreign may be null: then Qt's clipboard does everything.
    explicit QtClipboard(BackgroundSelection* foreign);

    bool hasText() override;
    SharedText text() override;
    // Clears at the time of the user's last action where it can, so that a
    // write of ours may follow at once (ADD and OUTPUT clear and write in one
    // click); Failure when the clipboard keeps an owner.
    void clear() override;
    // Failure when the clipboard did not become ours.
    void setText(std::u16string_view text) override;

  private:
    // Whether the clipboard's owner is a window of Qt's own X connection. Qt's
    // own answer to that is not to be trusted after a write that failed.
    bool ownedByUs();
    bool isOurs(std::uint32_t owner) const;
    // What another program's clipboard held at the newest reading at hand:
    // no text before the first; Failure when that reading failed.
    struct ForeignText {
        std::uint32_t owner;
        bool hasText = false;
        SharedText text;
    };
    ForeignText foreignText(std::uint32_t owner);

    BackgroundSelection* foreign_;
    // The answer that the last look for text gave, for the text read next.
    std::optional<ForeignText> lastAnswer_;
    std::uint32_t ourResourceBase_ = 0;
    std::uint32_t resourceMask_ = 0;
};

}  // namespace kazunavi
