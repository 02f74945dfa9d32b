#include "shell/window_behaviour.h"

#include <array>
#include <optional>
#include <string>

#include "platform/failure.h"
#include "shell/model/form1.h"
#include "shell/model/palette.h"

namespace kazunavi {

// Which captions a mouse move resets to the normal caption colour.
enum class HoverReset {
    Nothing,
    ResetSet,         // the clickable captions of the strip and the detail area
    ResetSetAndKeep,  // those and the KEEP caption
};

// One row of the hover table: the mouse-move handler of one target.
struct HoverRow {
    std::string_view target;          // "Form1" is the bare window surface
    bool drags;                       // the left button alone hands the window to the move loop
    std::optional<Colour> highlight;  // the target's own caption colour under the pointer
    HoverReset resets;                // the target itself is never reset by its own row
};

namespace {

// The clickable captions that a move elsewhere turns back to normal.
constexpr std::array<std::string_view, 7> kResetSet = {"lblAccess", "lblCUT",  "lblEDIT", "lblUP",
                                                       "lblDWN",    "lblOPEN", "Label1"};
// Only the bare surface and the address box turn KEEP back.
constexpr std::string_view kKeep = "lblKeep";

constexpr Colour kHover = palette::kGreen;
constexpr Colour kHelpHover = palette::kBlue;
constexpr Colour kCaption = palette::kSlate;
constexpr std::optional<Colour> kNone;

// lblAuto never changes here: its colour shows the AUTO state. lblUP and
// lblDWN are reset by the other rows but keep the colour of their own press.
constexpr std::array<HoverRow, 16> kHoverTable = {{
    {"Form1", true, kNone, HoverReset::ResetSetAndKeep},
    {"txtNow", false, kNone, HoverReset::ResetSetAndKeep},
    {"Pic1", true, kNone, HoverReset::ResetSet},
    {"Picture1", true, kNone, HoverReset::Nothing},
    {"txtNo", false, kNone, HoverReset::ResetSet},
    {"Label2", false, kNone, HoverReset::ResetSet},
    {"Label3", false, kNone, HoverReset::ResetSet},
    {"lblAuto", false, kNone, HoverReset::ResetSet},
    {"lblAccess", false, kHover, HoverReset::ResetSet},
    {"lblCUT", false, kHover, HoverReset::ResetSet},
    {"lblOPEN", false, kHover, HoverReset::ResetSet},
    {"Label1", false, kHover, HoverReset::ResetSet},
    {"lblEDIT", false, kHelpHover, HoverReset::ResetSet},
    {"lblKeep", false, kHover, HoverReset::ResetSet},
    {"lblUP", false, kNone, HoverReset::ResetSet},
    {"lblDWN", false, kNone, HoverReset::ResetSet},
}};

const HoverRow& rowOf(std::string_view target) {
    for (const HoverRow& row : kHoverTable) {
        if (row.target == target) {
            return row;
        }
    }
    throw Failure("no mouse-move handler for " + std::string(target));
}

// The left button and no other.
constexpr int kLeftButtonOnly = 1;

}  // namespace

void WindowBehaviour::wire(EventTable& events) {
    for (const HoverRow& row : kHoverTable) {
        events.on(std::string(row.target), Event::MouseMove,
                  [this, target = row.target](int button) { mouseMove(target, button); });
    }
    events.on("lblOPEN", Event::Click, [this](int) { lblOPEN_Click(); });
    events.on("Timer3", Event::Timer, [this](int) { Timer3_Timer(); });
}

void WindowBehaviour::txtNow_MouseMove(int button) {
    // The whole address, also when it is longer than the box.
    f_.txtNow.setToolTipText(f_.txtNow.sharedText());
    apply(rowOf("txtNow"), button);
}

void WindowBehaviour::mouseMove(std::string_view target, int button) {
    if (target == "txtNow") {
        txtNow_MouseMove(button);
    } else {
        apply(rowOf(target), button);
    }
}

void WindowBehaviour::apply(const HoverRow& row, int button) {
    if (row.drags && button == kLeftButtonOnly) {
        // The colours below are set whether or not the move has ended.
        s_.windowManager.startDrag(f_.handle());
    }
    if (row.highlight) {
        f_.element(row.target).setForeColor(*row.highlight);
    }
    if (row.resets == HoverReset::Nothing) {
        return;
    }
    for (std::string_view name : kResetSet) {
        if (name != row.target) {
            f_.element(name).setForeColor(kCaption);
        }
    }
    if (row.resets == HoverReset::ResetSetAndKeep && row.target != kKeep) {
        f_.lblKeep.setForeColor(kCaption);
    }
}

void WindowBehaviour::lblOPEN_Click() {
    if (f_.v.DetailOn) {
        f_.height = Form1::kCollapsedHeight;
        f_.lblOPEN.setText(u"▼");
    } else {
        f_.height = Form1::kExpandedHeight;
        f_.lblOPEN.setText(u"▲");
    }
    f_.v.DetailOn = !f_.v.DetailOn;
}

void WindowBehaviour::Timer3_Timer() {
    try {
        f_.v.FrontWnd = s_.windowManager.foregroundWindow();
        // Only the main window itself counts: the about box or a message box
        // of the program in front leaves the lamp dark.
        const bool inFront = f_.v.FrontWnd == f_.handle();
        const Colour lamp = inFront ? palette::kRed : palette::kDarkRed;
        f_.Command6(1).setBackColor(lamp);
        f_.lblEXIT.setBackColor(lamp);
        f_.lblCripDirect.setEnabled(inFront);
    } catch (const Failure&) {
        // The next tick tries again.
    }
}

}  // namespace kazunavi
