#include "engine/repeat.h"

#include "engine/press_hold.h"
#include "engine/step_family.h"
#include "platform/failure.h"
#include "shell/model/form1.h"
#include "shell/model/number_text.h"
#include "shell/model/palette.h"

namespace kazunavi {

namespace {
constexpr Colour kPressed = palette::kLightGreen;
constexpr Colour kReleased = palette::kGreen;
}  // namespace

void Repeat::wire(EventTable& events) {
    events.on("cmdUP", Event::MouseDown, [this](int) { cmdUP_MouseDown(); });
    events.on("cmdUP", Event::MouseUp, [this](int) { cmdUP_MouseUp(); });
    events.on("Command1", Event::MouseDown, [this](int) { Command1_MouseDown(); });
    events.on("Command1", Event::MouseUp, [this](int) { Command1_MouseUp(); });
    events.on("Cup", Event::Timer, [this](int) { Cup_Timer(); });
    events.on("Cdwn", Event::Timer, [this](int) { Cdwn_Timer(); });
    events.on("lblUP", Event::MouseDown, [this](int) { lblUP_MouseDown(); });
    events.on("lblUP", Event::MouseUp, [this](int) { lblUP_MouseUp(); });
    events.on("lblDWN", Event::MouseDown, [this](int) { lblDWN_MouseDown(); });
    events.on("lblDWN", Event::MouseUp, [this](int) { lblDWN_MouseUp(); });
}

void Repeat::cmdUP_MouseDown() {
    f_.Cup.setEnabled(true);
}
void Repeat::cmdUP_MouseUp() {
    f_.Cup.setEnabled(false);
}

void Repeat::Command1_MouseDown() {
    // Counting down starts only above 0; a number box that holds no number
    // starts nothing.
    try {
        if (number::toDouble(f_.txtNo.text()) > 0) {
            f_.Cdwn.setEnabled(true);
        }
    } catch (const Failure&) {
        f_.Cdwn.setEnabled(false);
    }
}

void Repeat::Command1_MouseUp() {
    f_.Cdwn.setEnabled(false);
}

void Repeat::Cup_Timer() {
    steps_.run(StepMember::Cup);
}
void Repeat::Cdwn_Timer() {
    steps_.run(StepMember::Cdwn);
}

void Repeat::lblUP_MouseDown() {
    f_.lblUP.setForeColor(kPressed);
    holdAfterPress(s_.ticks);
}

void Repeat::lblUP_MouseUp() {
    f_.lblUP.setForeColor(kReleased);
}

void Repeat::lblDWN_MouseDown() {
    f_.lblDWN.setForeColor(kPressed);
    holdAfterPress(s_.ticks);
}

void Repeat::lblDWN_MouseUp() {
    f_.lblDWN.setForeColor(kReleased);
}

}  // namespace kazunavi
