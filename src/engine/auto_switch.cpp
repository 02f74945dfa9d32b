#include "engine/auto_switch.h"

#include "shell/model/form1.h"
#include "shell/model/palette.h"

namespace kazunavi {

namespace {
constexpr Colour kOn = palette::kRed;
constexpr Colour kOff = palette::kDimRed;
}  // namespace

void AutoSwitch::wire(EventTable& events) {
    events.on("lblAuto", Event::Click, [this](int) { lblAuto_Click(); });
}

void AutoSwitch::lblAuto_Click() {
    f_.lblAuto.setForeColor(f_.v.AutoOn ? kOff : kOn);
    f_.v.AutoOn = !f_.v.AutoOn;
}

}  // namespace kazunavi
