#pragma once

#include <string_view>

#include "runner/targets.h"
#include "runner/value.h"

namespace kazunavi::scenario {

// Properties by the names the program's code uses: Text and Caption (the same
// text), Enabled, Visible, ForeColor, BackColor, FillColor, ToolTipText,
// SelStart, SelLength, ListCount, ListIndex, List(i), Height and Width of
// elements; Enabled and Interval of timers; Height, Width, TopMost and
// Visible of the windows. Each fails on a property the target does not have.
ValueType propertyType(const Target& target, std::string_view property);
Value readProperty(const Target& target, std::string_view property);
// Scenario set-up: sets the value directly, no event runs.
void writeProperty(const Target& target, std::string_view property, const Value& value);

}  // namespace kazunavi::scenario
