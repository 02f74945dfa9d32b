#include "shell/model/window.h"

#include "platform/failure.h"

namespace kazunavi {

Element* Window::find(std::string_view elementName) {
    const auto found = positions_.find(elementName);
    return found == positions_.end() ? nullptr : &elements_[found->second];
}

Element& Window::element(std::string_view elementName) {
    if (Element* e = find(elementName)) {
        return *e;
    }
    throw Failure("no element " + std::string(elementName) + " in " + name_);
}

Timer* Window::findTimer(std::string_view timerName) {
    for (Timer* t : timers_) {
        if (t->name() == timerName) {
            return t;
        }
    }
    return nullptr;
}

void Window::setFocus(Element& target) {
    if (!target.enabled() || !target.visible()) {
        throw Failure("cannot move the focus to " + target.name());
    }
    focused_ = target.name();
}

Element& Window::add(std::string elementName, ElementKind kind) {
    positions_.emplace(elementName, elements_.size());
    Element& added = elements_.emplace_back(std::move(elementName), kind);
    added.countChangesIn(revision_);
    return added;
}

}  // namespace kazunavi
