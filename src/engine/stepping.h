#pragma once

#include "platform/services.h"
#include "shell/model/events.h"

namespace kazunavi {

class Form1;
class AddressBrowsing;
class StepFamily;

// The single steps "+", "-", "UP" and "DWN", "[SET]" and the limiter switch.
class Stepping {
  public:
    Stepping(Form1& form, StepFamily& steps, AddressBrowsing& navigator)
        : f_(form), steps_(steps), nav_(navigator) {}
    void wire(EventTable& events);

    void UPbutton_Click();
    void lblUP_Click();
    void DWNbutton_Click();
    void lblDWN_Click();
    void Label1_Click();
    void lblLIMIT_Click();

  private:
    Form1& f_;
    StepFamily& steps_;
    AddressBrowsing& nav_;
};

}  // namespace kazunavi
