#pragma once

#include <string>
#include <string_view>
#include <utility>

#include "shell/application.h"

namespace kazunavi::scenario {

// What a NAME of a scenario stands for: an element of a window, a timer of
// the main window, or one of the two windows.
struct Target {
    enum class Kind { Element, Timer, Window };
    Kind kind = Kind::Element;
    std::string name;          // as the scenario wrote it
    std::string eventTarget;   // as the event table knows it
    Window* window = nullptr;  // the element's window or the window itself; null: not loaded
    Element* element = nullptr;
    Timer* timer = nullptr;
};

// A bare name is an element or timer of the main window; "Form1" and "Form2"
// are the windows; "Form2.X" is element X of the about box, which must be
// loaded. Only the window Form2 itself may be named while it is not loaded.
// Fails on names the windows do not have.
Target resolveTarget(Application& app, std::string_view name);

// The element a command acts on; fails for timers and windows.
Target resolveElement(Application& app, std::string_view name, std::string_view command);

// "NAME.PROP" split at the last dot; fails when there is none.
std::pair<std::string, std::string> splitProperty(std::string_view nameDotProperty);

// The event procedure's name for messages: "lblCUT_Click", "Command6_Click",
// "Form_MouseMove", "Form2.Label2_Click".
std::string procedureName(std::string_view eventTarget, Event event);

}  // namespace kazunavi::scenario
