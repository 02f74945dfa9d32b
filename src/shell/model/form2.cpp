#include "shell/model/form2.h"

#include "shell/model/element_builder.h"
#include "shell/model/form1_inventory.h"
#include "shell/model/palette.h"

namespace kazunavi {

namespace {

Element& buildInventory(Form2& form, ElementBuilder& b) {
    b.label("Label1(0)")
        .at(360, 360, 4065, 225)
        .fore(palette::kSlate)
        .centred()
        .caption(u"■ご利用いただきましてありがとうございます。");
    b.label("Label1(1)")
        .at(360, 690, 4065, 375)
        .fore(palette::kQuiet)
        .caption(u"Kazunaviの詳しい説明は、オンラインヘルプ（ヘルプページ）でご覧いただけます。");
    b.label("Label2")
        .at(600, 1290, 3315, 315)
        .fore(0xFF0000)
        .font(kPGothic, 9.0, true, false, true)
        .caption(u"オンラインヘルプの閲覧はココをクリック");
    b.picture("Picture1").at(1050, 1710, 480, 480);
    b.label("Label4(0)").at(1590, 1710, 1695, 195).caption(u"インターネットツール");
    b.label("Label3").at(1560, 1920, 1095, 255).font(kPGothic, 12.0, true).caption(u"「Kazunavi」");
    b.label("Label4(1)").at(2670, 1980, 1125, 225).caption(u"Version 1.2");
    b.label("Label1(3)")
        .at(570, 2250, 3675, 195)
        .fore(palette::kSlate)
        .caption(u"Kazunavi 開発チーム");
    return form.element("Label2");
}

}  // namespace

Form2::Form2()
    : Window("Form2", kHandle), Label2([this]() -> Element& {
          ElementBuilder b(*this);
          return buildInventory(*this, b);
      }()) {
    width = kClientWidth;
    height = kClientHeight;
}

}  // namespace kazunavi
