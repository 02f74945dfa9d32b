#pragma once

#include "shell/model/events.h"

namespace kazunavi {

class Form1;

// "AUTO": automatic browsing on or off.
class AutoSwitch {
  public:
    explicit AutoSwitch(Form1& form) : f_(form) {}
    void wire(EventTable& events);

    void lblAuto_Click();

  private:
    Form1& f_;
};

}  // namespace kazunavi
