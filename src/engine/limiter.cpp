#include "engine/limiter.h"

#include "shell/model/form1.h"
#include "shell/model/palette.h"

namespace kazunavi {

namespace {
constexpr Colour kLimiterOn = palette::kRed;
constexpr Colour kLimiterIdle = palette::kSlate;
constexpr Colour kLimiterOff = palette::kDimRed;
}  // namespace

void refreshLimiterDisplay(Form1& f) {
    const bool on = f.v.LimitOn;
    f.lblLIMIT.foreColor = on ? kLimiterOn : kLimiterIdle;
    f.txtLimH.enabled = on;
    f.txtLimL.enabled = on;
}

void switchLimiter(Form1& f) {
    if (f.v.LimitOn) {
        f.lblLIMIT.foreColor = kLimiterOff;
        f.lblLIMIT.setText(u"OFF");
        f.txtLimH.enabled = false;
        f.txtLimL.enabled = false;
    } else {
        f.lblLIMIT.foreColor = kLimiterOn;
        f.lblLIMIT.setText(u"ON");
        f.txtLimH.enabled = true;
        f.txtLimL.enabled = true;
    }
    f.v.LimitOn = !f.v.LimitOn;
}

}  // namespace kazunavi
