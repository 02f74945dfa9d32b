#pragma once

// Which view shows which element, for every toolkit: the kind of view, and
// whether it is a window of its own (it takes input and covers the drawn
// elements of its container) or drawn by its container.

#include <string>
#include <vector>

#include "platform/element.h"
#include "shell/model/events.h"

namespace kazunavi {

enum class ViewKind { None, Label, Panel, Shape, Line, Button, TextBox, Memo, DropDownList };

// None for storage elements and the list box, which the window never shows.
ViewKind viewKindOf(const Element& element);
// Labels, shapes and lines are drawn by their container beneath its windows.
bool isWindowed(ViewKind kind);
// The model knows no fill style: the round lamp is the one filled shape of
// these windows, the rectangles are frames.
bool isSolidFill(const Element& shape);
// The elements of the main window that have a click procedure.
std::vector<std::string> clickTargets(const EventTable& events);

}  // namespace kazunavi
