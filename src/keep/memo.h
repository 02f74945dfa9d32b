#pragma once

#include "platform/services.h"
#include "shell/model/events.h"

namespace kazunavi {

class Form1;

// The memo pad: INPUT takes the clipboard's text, OUTPUT puts the memo on
// the clipboard, ADD puts the add-text in front of the memo.
class MemoPad {
  public:
    MemoPad(Form1& form, Services& services) : f_(form), s_(services) {}
    void wire(EventTable& events);

    void Command7_Click();
    void Command8_Click();
    void Command9_Click();

  private:
    Form1& f_;
    Services& s_;
};

}  // namespace kazunavi
