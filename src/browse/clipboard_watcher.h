#pragma once

#include <optional>

#include "platform/services.h"
#include "shell/model/events.h"
#include "shell/model/text_fingerprint.h"

namespace kazunavi {

class Form1;
class AddressBrowsing;

// Watches the clipboard twice a second: a new text is shown and sorted into
// plain text, an address (browsed) or an address template with a bracketed
// number range (sets up the bounds and the digit width). CLS forgets it all.
class ClipboardWatcher {
  public:
    ClipboardWatcher(Form1& form, Services& services, AddressBrowsing& navigator)
        : f_(form), s_(services), navigator_(navigator) {}
    void wire(EventTable& events);

    void timCrip_Timer();
    void lblAccess_Click();

  private:
    bool seenAlready(const SharedText& caught);
    void forgetOldText();
    void showWaiting();
    void takeNewText();
    void takePlainText();
    void takeTemplate();
    void takeAddress();

    Form1& f_;
    Services& s_;
    AddressBrowsing& navigator_;
    // Stands for lblOldURL's text, then empty, while no clipboard holds it.
    std::optional<TextFingerprint> oldLongText_;
};

}  // namespace kazunavi
