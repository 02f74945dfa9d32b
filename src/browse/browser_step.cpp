#include "browse/browser_step.h"

#include "platform/failure.h"

namespace kazunavi {

bool browseOrReport(Services& services, std::u16string_view address) {
    try {
        services.browser.navigate(address);
        return true;
    } catch (const Failure&) {
        services.messageBox.show(
            u"アクセスできませんでした。\r\n"
            u"Internet Explorer もしくは Net環境の設定を確認してください。",
            kExclamationOk, u"Kazunavi\u3000Error_08");
        return false;
    }
}

}  // namespace kazunavi
