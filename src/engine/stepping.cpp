#include "engine/stepping.h"

#include "engine/limiter.h"
#include "engine/step_family.h"
#include "platform/failure.h"
#include "shell/model/address_browsing.h"
#include "shell/model/form1.h"
#include "shell/model/number_text.h"
#include "shell/model/text.h"

namespace kazunavi {

void Stepping::wire(EventTable& events) {
    events.on("UPbutton", Event::Click, [this](int) { UPbutton_Click(); });
    events.on("lblUP", Event::Click, [this](int) { lblUP_Click(); });
    events.on("DWNbutton", Event::Click, [this](int) { DWNbutton_Click(); });
    events.on("lblDWN", Event::Click, [this](int) { lblDWN_Click(); });
    events.on("Label1", Event::Click, [this](int) { Label1_Click(); });
    events.on("lblLIMIT", Event::Click, [this](int) { lblLIMIT_Click(); });
}

void Stepping::UPbutton_Click() {
    steps_.run(StepMember::UPbutton);
}
void Stepping::lblUP_Click() {
    steps_.run(StepMember::lblUP);
}
void Stepping::DWNbutton_Click() {
    steps_.run(StepMember::DWNbutton);
}
void Stepping::lblDWN_Click() {
    steps_.run(StepMember::lblDWN);
}

void Stepping::Label1_Click() {
    // "[SET]" has no message of its own: a width that does not fit or an
    // address that cannot be composed ends it quietly, with nothing sent.
    try {
        f_.v.NoLen = number::toInt16(text::length(f_.txtLimL.text()));
        f_.v.buildZeroMask();
        f_.txtNo.setText(number::formatWithMask(f_.txtLimL.text(), f_.v.ZeroMask));
        f_.v.PickMode = false;
        for (Element* e : {&f_.cmdUP, &f_.Command1, &f_.txtNo, &f_.UPbutton, &f_.DWNbutton}) {
            e->setEnabled(true);
        }
        refreshLimiterDisplay(f_);
        if (f_.v.AutoOn) {
            nav_.BrowseBracketUrl();
        }
    } catch (const Failure&) {
    }
}

void Stepping::lblLIMIT_Click() {
    switchLimiter(f_);
}

}  // namespace kazunavi
