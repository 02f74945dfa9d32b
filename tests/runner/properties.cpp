#include "runner/properties.h"

#include <limits>
#include <optional>

#include "runner/scenario_failure.h"

namespace kazunavi::scenario {

namespace {

// An element without a colour of its own shows the toolkit's defaults.
constexpr Colour kDefaultForeColor = 0x000000;
constexpr Colour kDefaultBackColor = 0xFFFFFF;

constexpr ValueType kText{ValueKind::Text};
constexpr ValueType kBoolean{ValueKind::Boolean};
constexpr ValueType kNumber{ValueKind::Number};
constexpr ValueType kCount{ValueKind::Number, 0};
constexpr ValueType kColour{ValueKind::Colour};

[[noreturn]] void unknownProperty(const Target& target, std::string_view property) {
    const char* kind = target.kind == Target::Kind::Timer    ? "the timer "
                       : target.kind == Target::Kind::Window ? "the window "
                                                             : "the element ";
    throw ScenarioFailure("unknown property " + std::string(property) + " of " + kind +
                          target.name);
}

[[noreturn]] void readOnly(const Target& target, std::string_view property) {
    throw ScenarioFailure(std::string(property) + " of " + target.name + " cannot be set");
}

// "List(i)": the index i.
std::optional<int> listItemIndex(std::string_view property) {
    if (!property.starts_with("List(") || !property.ends_with(")")) {
        return std::nullopt;
    }
    const auto index = parseInteger(property.substr(5, property.size() - 6));
    if (!index || *index < std::numeric_limits<int>::min() ||
        *index > std::numeric_limits<int>::max()) {
        return std::nullopt;
    }
    return static_cast<int>(*index);
}

Window& loadedWindow(const Target& target) {
    if (target.window == nullptr) {
        throw ScenarioFailure("expected the about box Form2 to be loaded, found it not loaded");
    }
    return *target.window;
}

ValueType elementPropertyType(const Target& target, std::string_view p) {
    if (p == "Text" || p == "Caption" || p == "ToolTipText") {
        return kText;
    }
    if (p == "Enabled" || p == "Visible") {
        return kBoolean;
    }
    if (p == "ForeColor" || p == "BackColor" || p == "FillColor") {
        return kColour;
    }
    if (p == "SelStart" || p == "SelLength" || p == "ListCount" || p == "Height" || p == "Width") {
        return p == "Height" || p == "Width" ? kNumber : kCount;
    }
    if (p == "ListIndex") {
        return ValueType{ValueKind::Number, -1};
    }
    if (listItemIndex(p)) {
        return kText;
    }
    unknownProperty(target, p);
}

Value readElement(const Target& target, std::string_view p) {
    const Element& e = *target.element;
    if (p == "Text" || p == "Caption") {
        return textValue(e.text());
    }
    if (p == "ToolTipText") {
        return textValue(e.toolTipText());
    }
    if (p == "Enabled") {
        return booleanValue(e.enabled());
    }
    if (p == "Visible") {
        return booleanValue(e.visible());
    }
    if (p == "ForeColor") {
        return colourValue(e.foreColor().value_or(kDefaultForeColor));
    }
    if (p == "BackColor") {
        return colourValue(e.backColor().value_or(kDefaultBackColor));
    }
    if (p == "FillColor") {
        return colourValue(e.fillColor());
    }
    if (p == "SelStart") {
        return numberValue(e.selStart());
    }
    if (p == "SelLength") {
        return numberValue(e.selLength());
    }
    if (p == "ListCount") {
        return numberValue(e.listCount());
    }
    if (p == "ListIndex") {
        return numberValue(e.listIndex());
    }
    if (p == "Height") {
        return numberValue(e.geometry.height);
    }
    if (p == "Width") {
        return numberValue(e.geometry.width);
    }
    const int index = *listItemIndex(p);
    if (index < 0 || index >= e.listCount()) {
        throw ScenarioFailure("expected an item " + std::to_string(index) + " in " + target.name +
                              ", found ListCount " + std::to_string(e.listCount()));
    }
    return textValue(e.list(index));
}

void writeElement(const Target& target, std::string_view p, const Value& v) {
    Element& e = *target.element;
    const int number = static_cast<int>(v.number);
    if (p == "Text" || p == "Caption") {
        e.setText(v.text);
    } else if (p == "ToolTipText") {
        e.setToolTipText(v.text);
    } else if (p == "Enabled") {
        e.setEnabled(v.number != 0);
    } else if (p == "Visible") {
        e.setVisible(v.number != 0);
    } else if (p == "ForeColor") {
        e.setForeColor(static_cast<Colour>(v.number));
    } else if (p == "BackColor") {
        e.setBackColor(static_cast<Colour>(v.number));
    } else if (p == "FillColor") {
        e.setFillColor(static_cast<Colour>(v.number));
    } else if (p == "SelStart") {
        e.setSelStart(number);
    } else if (p == "SelLength") {
        e.setSelLength(number);
    } else if (p == "ListIndex") {
        if (number >= e.listCount()) {
            throw ScenarioFailure("expected ListIndex of " + target.name + " from -1 to " +
                                  std::to_string(e.listCount() - 1) + ", found " +
                                  std::to_string(number));
        }
        e.setListIndex(number);
    } else if (p == "Height") {
        e.geometry.height = number;
    } else if (p == "Width") {
        e.geometry.width = number;
    } else {
        readOnly(target, p);
    }
}

ValueType timerPropertyType(const Target& target, std::string_view p) {
    if (p == "Enabled") {
        return kBoolean;
    }
    if (p == "Interval") {
        return kCount;
    }
    unknownProperty(target, p);
}

ValueType windowPropertyType(const Target& target, std::string_view p) {
    if (p == "Height" || p == "Width") {
        return kNumber;
    }
    if (p == "TopMost" || p == "Visible") {
        return kBoolean;
    }
    unknownProperty(target, p);
}

}  // namespace

ValueType propertyType(const Target& target, std::string_view property) {
    switch (target.kind) {
        case Target::Kind::Element:
            return elementPropertyType(target, property);
        case Target::Kind::Timer:
            return timerPropertyType(target, property);
        case Target::Kind::Window:
            break;
    }
    return windowPropertyType(target, property);
}

Value readProperty(const Target& target, std::string_view property) {
    propertyType(target, property);
    switch (target.kind) {
        case Target::Kind::Element:
            return readElement(target, property);
        case Target::Kind::Timer:
            return property == "Enabled" ? booleanValue(target.timer->enabled())
                                         : numberValue(target.timer->interval());
        case Target::Kind::Window:
            break;
    }
    // A window that is not loaded is not shown; everything else about it is unknown.
    if (target.window == nullptr && property == "Visible") {
        return booleanValue(false);
    }
    const Window& w = loadedWindow(target);
    if (property == "Height") {
        return numberValue(w.height);
    }
    if (property == "Width") {
        return numberValue(w.width);
    }
    return booleanValue(property == "TopMost" ? w.topMost : w.visible);
}

void writeProperty(const Target& target, std::string_view property, const Value& value) {
    propertyType(target, property);
    switch (target.kind) {
        case Target::Kind::Element:
            writeElement(target, property, value);
            return;
        case Target::Kind::Timer:
            if (property == "Enabled") {
                target.timer->setEnabled(value.number != 0);
            } else {
                target.timer->setInterval(static_cast<int>(value.number));
            }
            return;
        case Target::Kind::Window:
            break;
    }
    Window& w = loadedWindow(target);
    if (property == "Height") {
        w.height = static_cast<int>(value.number);
    } else if (property == "Width") {
        w.width = static_cast<int>(value.number);
    } else if (property == "TopMost") {
        w.topMost = value.number != 0;
    } else {
        w.visible = value.number != 0;
    }
}

}  // namespace kazunavi::scenario
