#pragma once

#include <string_view>

#include "runner/value.h"
#include "shell/model/form1.h"

namespace kazunavi::scenario {

// The main window's window-level variables by name (AutoOn, PickLen,
// ZeroMask, FrontWnd, ...); each fails on a name the window does not have.
ValueType variableType(std::string_view name);
Value readVariable(const Form1Variables& v, std::string_view name);
void writeVariable(Form1Variables& v, std::string_view name, const Value& value);

}  // namespace kazunavi::scenario
