#pragma once

#include "platform/services.h"
#include "shell/model/events.h"

namespace kazunavi {

class Form1;
class StepFamily;

// Hold-to-count on "+" and "-" (the Cup and Cdwn ticks), and the press
// feedback of the "UP" and "DWN" labels before their single step.
class Repeat {
  public:
    Repeat(Form1& form, Services& services, StepFamily& steps)
        : f_(form), s_(services), steps_(steps) {}
    void wire(EventTable& events);

    void cmdUP_MouseDown();
    void cmdUP_MouseUp();
    void Command1_MouseDown();
    void Command1_MouseUp();
    void Cup_Timer();
    void Cdwn_Timer();

    void lblUP_MouseDown();
    void lblUP_MouseUp();
    void lblDWN_MouseDown();
    void lblDWN_MouseUp();

  private:
    Form1& f_;
    Services& s_;
    StepFamily& steps_;
};

}  // namespace kazunavi
