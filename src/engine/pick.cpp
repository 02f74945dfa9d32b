#include "engine/pick.h"

#include "engine/limiter.h"
#include "platform/failure.h"
#include "shell/model/form1.h"
#include "shell/model/number_text.h"
#include "shell/model/text.h"

namespace kazunavi {

void Pick::wire(EventTable& events) {
    events.on("lblCUT", Event::Click, [this](int) { lblCUT_Click(); });
}

void Pick::lblCUT_Click() {
    try {
        Element& now = f_.txtNow;
        if (now.selLength() == 0) {
            f_.setFocus(f_.txtNo);
            return;
        }
        f_.v.PickLen = number::toInt16(now.selLength());
        const std::u16string selected = text::mid(now.text(), now.selStart() + 1LL, f_.v.PickLen);
        f_.txtNo.setText(number::plainDecimal(number::toDouble(selected)));
        f_.txtNo.setEnabled(true);
        f_.v.PickMode = true;
        f_.lblSTR.setText(text::mid(now.text(), now.selStart() + f_.v.PickLen + 1LL));
        f_.lblCutF.setText(text::left(
            now.text(), text::length(now.text()) - f_.v.PickLen - text::length(f_.lblSTR.text())));
        f_.lblFLL.setText(now.text());
        f_.setFocus(f_.txtNo);
        if (f_.v.CripHit) {
            f_.UPbutton.setEnabled(true);
            f_.DWNbutton.setEnabled(true);
        }
        refreshLimiterDisplay(f_);
        f_.cmdUP.setEnabled(true);
        f_.Command1.setEnabled(true);
    } catch (const Failure&) {
        s_.messageBox.show(u"数値を抽出できません。", kExclamationOk, u"Kazunavi Error_03");
    }
}

}  // namespace kazunavi
