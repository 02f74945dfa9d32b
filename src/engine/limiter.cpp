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
    f.lblLIMIT.setForeColor(on ? kLimiterOn : kLimiterIdle);
    f.txtLimH.setEnabled(on);
    f.txtLimL.setEnabled(on);
}

void switchLimiter(Form1& f) {
    if (f.v.LimitOn) {
        f.lblLIMIT.setForeColor(kLimiterOff);
        f.lblLIMIT.setText(u"OFF");
        f.txtLimH.setEnabled(false);
        f.txtLimL.setEnabled(false);
    } else {
        f.lblLIMIT.setForeColor(kLimiterOn);
        f.lblLIMIT.setText(u"ON");
        f.txtLimH.setEnabled(true);
        f.txtLimL.setEnabled(true);
    }
    f.v.LimitOn = !f.v.LimitOn;
}

}  // namespace kazunavi
