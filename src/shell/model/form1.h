#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <utility>

#include "shell/model/form1_inventory.h"

namespace kazunavi {

// Window-level variables of the main window. They start off, empty and zero;
// the window's load sets the switches.
struct Form1Variables {
    bool AutoOn = false;
    bool LimitOn = false;
    bool PickMode = false;
    std::int16_t PickLen = 0;
    std::int16_t NoLen = 0;
    std::u16string ZeroMask;
    std::int16_t LoopCnt = 0;
    bool CripHit = false;
    std::int32_t KeyPos = 0;
    std::int32_t BrkLPos = 0;
    std::int32_t BrkRPos = 0;
    bool DetailOn = false;
    WindowHandle FrontWnd = 0;

    // BrkLPos and BrkRPos <- the positions of the first "[" and the first "]"
    // in the text (0 when absent); true when both are there.
    bool findBrackets(std::u16string_view caught);
    // ZeroMask <- NoLen zeros, built with LoopCnt counting from 1 to NoLen.
    void buildZeroMask();
};

// The main window: every element of its inventory, its seven timers and its
// window-level variables. The logic and the drawing both work from this one
// model.
class Form1 : public Form1Inventory {
  public:
    Form1();

    Form1Variables v;

    // Control arrays.
    Element& Command6(int index) { return member("Command6", index); }
    Element& Label4(int index) { return member("Label4", index); }
    Element& Label5(int index) { return member("Label5", index); }
    Element& Line3(int index) { return member("Line3", index); }

    // The strip.
    Element &lblEXIT, &Shape2, &txtNow, &Sh1, &lblAuto, &Label3, &Label2, &lblCUT, &txtNo,
        &Picture4, &UPbutton, &DWNbutton, &lblEDIT, &lblOPEN, &Line2;
    // The detail area.
    Element &Pic1, &lblAccess, &Text2, &lblLIMIT, &txtLimH, &txtLimL, &Picture2, &lblCNT, &Command4,
        &Command2, &Command3, &lblKeep, &List1, &Text1, &txtMemo, &Picture6, &Command9, &Command7,
        &Command8, &Command5, &Command10, &txtKeyWord, &cmdUP, &Command1, &lblUP, &lbl, &lblDWN,
        &Label1, &lblCripDirect, &lblURL, &Picture1, &Label7;
    // Storage elements.
    Element &lblNoo, &lblFLL, &lblCutF, &lblSTR, &lblB, &lblF, &lblOldURL, &lblURLright, &lblNO,
        &lAWH, &lURL, &lTTL, &List2;

    // Timers, in the order of the timer table.
    Timer Timer1{"Timer1", 50};
    Timer Timer2{"Timer2", 50};
    Timer Timer3{"Timer3", 100};
    Timer timCrip{"timCrip", 500};
    Timer timGETURL{"timGETURL", 500};
    Timer Cup{"Cup", 50};
    Timer Cdwn{"Cdwn", 50};

  private:
    Element& member(std::string_view arrayName, int index);
    // The members of the element arrays ("Label4(3)") by array and index:
    // the lamp names one at every tick.
    std::map<std::pair<std::string_view, int>, Element*> members_;
};

}  // namespace kazunavi
