#pragma once

#include <string_view>

#include "platform/colour.h"
#include "platform/services.h"
#include "shell/model/events.h"

namespace kazunavi {

class Form1;
struct HoverRow;

// The frameless main window's own handling: dragging it, opening and closing
// the detail area, hover colours of the clickable captions, the tooltip of
// the address box and the lamp that shows whether the window is in front.
class WindowBehaviour {
  public:
    WindowBehaviour(Form1& form, Services& services) : f_(form), s_(services) {}
    void wire(EventTable& events);

    void txtNow_MouseMove(int button);
    // The mouse-move handler of any target of the hover table.
    void mouseMove(std::string_view target, int button);

    void lblOPEN_Click();
    void Timer3_Timer();

  private:
    void apply(const HoverRow& row, int button);

    Form1& f_;
    Services& s_;
};

}  // namespace kazunavi
