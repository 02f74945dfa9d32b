#include "engine/caret_keys.h"

#include "engine/press_hold.h"
#include "shell/model/form1.h"
#include "shell/model/palette.h"

namespace kazunavi {

namespace {
constexpr Colour kPressed = palette::kCyan;
constexpr Colour kReleased = palette::kBlue;  // the design colour
}  // namespace

void CaretKeys::wire(EventTable& events) {
    events.on("Label2", Event::MouseDown, [this](int) { Label2_MouseDown(); });
    events.on("Label2", Event::MouseUp, [this](int) { Label2_MouseUp(); });
    events.on("Label2", Event::Click, [this](int) { Label2_Click(); });
    events.on("Timer1", Event::Timer, [this](int) { Timer1_Timer(); });
    events.on("Label3", Event::MouseDown, [this](int) { Label3_MouseDown(); });
    events.on("Label3", Event::MouseUp, [this](int) { Label3_MouseUp(); });
    events.on("Label3", Event::Click, [this](int) { Label3_Click(); });
    events.on("Timer2", Event::Timer, [this](int) { Timer2_Timer(); });
}

void CaretKeys::Label2_MouseDown() {
    f_.Label2.setForeColor(kPressed);
    holdAfterPress(s_.ticks);
    f_.Timer1.setEnabled(true);
}

void CaretKeys::Label2_MouseUp() {
    f_.Label2.setForeColor(kReleased);
    f_.Timer1.setEnabled(false);
}

void CaretKeys::Label2_Click() {
    right();
}
void CaretKeys::Timer1_Timer() {
    right();
}

void CaretKeys::Label3_MouseDown() {
    f_.Label3.setForeColor(kPressed);
    holdAfterPress(s_.ticks);
    f_.Timer2.setEnabled(true);
}

void CaretKeys::Label3_MouseUp() {
    f_.Label3.setForeColor(kReleased);
    f_.Timer2.setEnabled(false);
}

void CaretKeys::Label3_Click() {
    left();
}
void CaretKeys::Timer2_Timer() {
    left();
}

// Beyond the end the text box keeps the caret at the end.
void CaretKeys::right() {
    f_.txtNow.setSelStart(f_.txtNow.selStart() + 1);
}

void CaretKeys::left() {
    if (f_.txtNow.selStart() > 0) {
        f_.txtNow.setSelStart(f_.txtNow.selStart() - 1);
    }
}

}  // namespace kazunavi
