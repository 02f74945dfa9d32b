#pragma once

#include "platform/services.h"
#include "shell/model/events.h"

namespace kazunavi {

class Form1;

// The caret keys "→" and "←": one character per click in the address box,
// repeated by Timer1 and Timer2 while held.
class CaretKeys {
  public:
    CaretKeys(Form1& form, Services& services) : f_(form), s_(services) {}
    void wire(EventTable& events);

    void Label2_MouseDown();
    void Label2_MouseUp();
    void Label2_Click();
    void Timer1_Timer();

    void Label3_MouseDown();
    void Label3_MouseUp();
    void Label3_Click();
    void Timer2_Timer();

  private:
    void right();
    void left();

    Form1& f_;
    Services& s_;
};

}  // namespace kazunavi
