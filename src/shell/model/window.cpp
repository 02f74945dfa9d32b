#include "shell/model/window.h"

#include "platform/failure.h"

namespace kazunavi {

Element* Window::find(std::string_view elementName) {
    for (auto& e : elements_) {
        if (e.name() == elementName) {
            return &e;
        }
    }
    return nullptr;
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
    return elements_.emplace_back(std::move(elementName), kind);
}

}  // namespace kazunavi
