#include "ui/common/view_kinds.h"

namespace kazunavi {

ViewKind viewKindOf(const Element& e) {
    if (e.hidden) {
        return ViewKind::None;  // storage: a working value, never drawn
    }
    switch (e.kind()) {
        case ElementKind::Label:
            return ViewKind::Label;
        case ElementKind::Picture:
            return ViewKind::Panel;
        case ElementKind::Shape:
            return ViewKind::Shape;
        case ElementKind::Line:
            return ViewKind::Line;
        case ElementKind::CommandButton:
            return ViewKind::Button;
        case ElementKind::TextBox:
            return e.multiLine ? ViewKind::Memo : ViewKind::TextBox;
        case ElementKind::ComboBox:
            return ViewKind::DropDownList;
        case ElementKind::ListBox:
            break;  // the one list box is storage
    }
    return ViewKind::None;
}

bool isWindowed(ViewKind kind) {
    return kind != ViewKind::None && kind != ViewKind::Label && kind != ViewKind::Shape &&
           kind != ViewKind::Line;
}

bool isSolidFill(const Element& shape) {
    return shape.shape == ShapeForm::Circle;
}

std::vector<std::string> clickTargets(const EventTable& events) {
    std::vector<std::string> labels;
    for (const auto& [target, event] : events.wired()) {
        if (event == Event::Click && target.find('.') == std::string::npos) {
            labels.push_back(target);
        }
    }
    return labels;
}

}  // namespace kazunavi
