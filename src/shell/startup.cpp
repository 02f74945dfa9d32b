#include "shell/startup.h"

#include <exception>

#include "platform/failure.h"
#include "shell/application.h"
#include "shell/model/palette.h"

namespace kazunavi {

void Startup::wire(EventTable& events) {
    events.on("Command6(1)", Event::Click, [this](int) { Command6_Click(1); });
    events.on("lblEXIT", Event::Click, [this](int) { lblEXIT_Click(); });
}

namespace {

// A check that cannot be made (the lock file is unusable) does not keep the
// user from working: the program starts as if it were the only copy.
bool anotherCopyRunning(InstanceCheck& check) {
    try {
        return check.anotherRunning();
    } catch (const Failure&) {
        return false;
    }
}

}  // namespace

void Startup::Form3_Load() {
    Services& s = app_.services();
    if (anotherCopyRunning(s.instanceCheck)) {
        s.messageBox.show(
            u"このアプリケーションはすでに開かれています。\r\n"
            u"重複起動の防止のため、起動をキャンセルします。",
            kExclamationOk, u"Kazunavi Error_01 [二重起動の防止]");
        s.programExit.endProgram();
        return;
    }
    Form_Load();
    app_.form1().visible = true;
}

void Startup::Form_Load() {
    Form1& f = app_.form1();
    Services& s = app_.services();
    f.loaded = true;
    // The window manager's answer is not looked at: a window that could not be
    // kept on top still comes up and works.
    try {
        s.windowManager.keepOnTop(f.handle());
        f.topMost = true;
    } catch (const Failure&) {
    }
    f.height = Form1::kCollapsedHeight;
    f.width = Form1::kWidth;
    for (Timer* t : {&f.Timer1, &f.Timer2, &f.Cup, &f.Cdwn}) {
        t->setEnabled(false);
    }
    f.v.AutoOn = true;
    f.v.DetailOn = false;
    f.lblAuto.setForeColor(palette::kRed);
    f.Sh1.setFillColor(palette::kBlack);
    f.lblLIMIT.setForeColor(palette::kRed);
    f.v.LimitOn = true;
    for (Element* e : {&f.UPbutton, &f.DWNbutton, &f.lbl, &f.Label1}) {
        e->setEnabled(false);
    }
    f.v.PickMode = false;
    for (Element* e : {&f.cmdUP, &f.Command1, &f.txtNo}) {
        e->setEnabled(false);
    }
    // Whatever goes wrong while the keep list loads, the window comes up working.
    try {
        if (loadKeepList) {
            loadKeepList();
        }
    } catch (const std::exception&) {
    }
    f.timCrip.setEnabled(true);
}

void Startup::unloadForm1() {
    Form1& f = app_.form1();
    f.loaded = false;
    f.visible = false;
}

void Startup::Form_Unload() {
    app_.unloadForm2();
    // The start-up form unloaded itself at start; nothing of it remains.
    unloadForm1();
    app_.services().programExit.endProgram();
}

void Startup::Command6_Click(int /*index*/) {
    lblEXIT_Click();
}

void Startup::lblEXIT_Click() {
    app_.unloadForm2();
    Form_Unload();
}

}  // namespace kazunavi
