#include "keep/memo.h"

#include <string>

#include "platform/failure.h"
#include "shell/model/form1.h"

namespace kazunavi {

void MemoPad::wire(EventTable& events) {
    events.on("Command7", Event::Click, [this](int) { Command7_Click(); });
    events.on("Command8", Event::Click, [this](int) { Command8_Click(); });
    events.on("Command9", Event::Click, [this](int) { Command9_Click(); });
}

// The memo pad's buttons say nothing when the clipboard cannot be reached
// (another program holds it): they end there, and the memo keeps its text.

void MemoPad::Command7_Click() {
    try {
        if (s_.clipboard.hasText()) {
            f_.txtMemo.setText(s_.clipboard.text());
        }
        f_.setFocus(f_.txtMemo);
    } catch (const Failure&) {
    }
}

void MemoPad::Command8_Click() {
    try {
        s_.clipboard.clear();
        s_.clipboard.setText(f_.txtMemo.text());
        f_.setFocus(f_.txtMemo);
    } catch (const Failure&) {
    }
}

void MemoPad::Command9_Click() {
    try {
        std::u16string memo = f_.Text2.text();
        memo += f_.txtMemo.text();
        f_.txtMemo.setText(std::move(memo));
        f_.setFocus(f_.txtMemo);
    } catch (const Failure&) {
    }
}

}  // namespace kazunavi
