#pragma once

#include "platform/services.h"
#include "shell/model/events.h"

namespace kazunavi {

class Form1;

// PICK: the user marks the running number in the address and the engine
// takes it out as prefix, number and suffix with its width.
class Pick {
  public:
    Pick(Form1& form, Services& services) : f_(form), s_(services) {}
    void wire(EventTable& events);

    void lblCUT_Click();

  private:
    Form1& f_;
    Services& s_;
};

}  // namespace kazunavi
