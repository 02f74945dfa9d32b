#include "shell/model/form1.h"

#include <charconv>

#include "platform/failure.h"
#include "shell/model/number_text.h"
#include "shell/model/text.h"

namespace kazunavi {

Form1::Form1()
    : lblEXIT(element("lblEXIT")),
      Shape2(element("Shape2")),
      txtNow(element("txtNow")),
      Sh1(element("Sh1")),
      lblAuto(element("lblAuto")),
      Label3(element("Label3")),
      Label2(element("Label2")),
      lblCUT(element("lblCUT")),
      txtNo(element("txtNo")),
      Picture4(element("Picture4")),
      UPbutton(element("UPbutton")),
      DWNbutton(element("DWNbutton")),
      lblEDIT(element("lblEDIT")),
      lblOPEN(element("lblOPEN")),
      Line2(element("Line2")),
      Pic1(element("Pic1")),
      lblAccess(element("lblAccess")),
      Text2(element("Text2")),
      lblLIMIT(element("lblLIMIT")),
      txtLimH(element("txtLimH")),
      txtLimL(element("txtLimL")),
      Picture2(element("Picture2")),
      lblCNT(element("lblCNT")),
      Command4(element("Command4")),
      Command2(element("Command2")),
      Command3(element("Command3")),
      lblKeep(element("lblKeep")),
      List1(element("List1")),
      Text1(element("Text1")),
      txtMemo(element("txtMemo")),
      Picture6(element("Picture6")),
      Command9(element("Command9")),
      Command7(element("Command7")),
      Command8(element("Command8")),
      Command5(element("Command5")),
      Command10(element("Command10")),
      txtKeyWord(element("txtKeyWord")),
      cmdUP(element("cmdUP")),
      Command1(element("Command1")),
      lblUP(element("lblUP")),
      lbl(element("lbl")),
      lblDWN(element("lblDWN")),
      Label1(element("Label1")),
      lblCripDirect(element("lblCripDirect")),
      lblURL(element("lblURL")),
      Picture1(element("Picture1")),
      Label7(element("Label7")),
      lblNoo(element("lblNoo")),
      lblFLL(element("lblFLL")),
      lblCutF(element("lblCutF")),
      lblSTR(element("lblSTR")),
      lblB(element("lblB")),
      lblF(element("lblF")),
      lblOldURL(element("lblOldURL")),
      lblURLright(element("lblURLright")),
      lblNO(element("lblNO")),
      lAWH(element("lAWH")),
      lURL(element("lURL")),
      lTTL(element("lTTL")),
      List2(element("List2")) {
    for (Timer* t : {&Timer1, &Timer2, &Timer3, &timCrip, &timGETURL, &Cup, &Cdwn}) {
        addTimer(*t);
    }
    // Running in the design; the clipboard watcher starts as the last step of the load.
    Timer3.setEnabled(true);
    timGETURL.setEnabled(true);
    // The elements never move once built: their names can be the keys.
    for (Element& e : elements()) {
        const std::string_view name = e.name();
        const auto open = name.find('(');
        int index = 0;
        if (open != std::string_view::npos && name.ends_with(')') &&
            std::from_chars(name.data() + open + 1, name.data() + name.size() - 1, index).ptr ==
                name.data() + name.size() - 1) {
            members_.emplace(std::pair(name.substr(0, open), index), &e);
        }
    }
}

Element& Form1::member(std::string_view arrayName, int index) {
    if (auto found = members_.find({arrayName, index}); found != members_.end()) {
        return *found->second;
    }
    throw Failure("no element " + std::string(arrayName) + "(" + std::to_string(index) + ") in " +
                  name());
}

bool Form1Variables::findBrackets(std::u16string_view caught) {
    BrkLPos = text::find(caught, u"[");
    BrkRPos = text::find(caught, u"]");
    return BrkLPos != 0 && BrkRPos != 0;
}

void Form1Variables::buildZeroMask() {
    ZeroMask.clear();
    // The counter ends one past NoLen, as a counted loop leaves it.
    for (LoopCnt = 1; LoopCnt <= NoLen; LoopCnt = number::toInt16(LoopCnt + 1LL)) {
        ZeroMask.push_back(u'0');
    }
}

}  // namespace kazunavi
