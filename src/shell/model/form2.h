#pragma once

#include "shell/model/window.h"

namespace kazunavi {

// The about box: the program's name and version and the help link.
class Form2 : public Window {
  public:
    static constexpr WindowHandle kHandle = 0x2000;
    static constexpr int kClientWidth = 4680;
    static constexpr int kClientHeight = 2610;

    Form2();

    Element& Label2;  // the help link
};

}  // namespace kazunavi
