#pragma once

#include "platform/services.h"
#include "shell/events.h"

namespace kazunavi {

class Form1;

// Composing the address to visit and sending the browser there.
class Navigator {
  public:
    Navigator(Form1& form, Services& services) : f_(form), s_(services) {}
    void wire(EventTable& events);

    // A failure of the browser step is reported here (Error_08). A failure in
    // composing the address (a negative count) is thrown to the caller with
    // nothing sent.
    void BrowseCurrentUrl();
    void BrowseBracketUrl();
    void BrowsePickedUrl();

    void Command10_Click();
    void Command2_Click();
    void Command5_Click();

  private:
    Form1& f_;
    Services& s_;
};

}  // namespace kazunavi
