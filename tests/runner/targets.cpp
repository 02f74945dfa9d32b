#include "runner/targets.h"

#include "runner/scenario_failure.h"

namespace kazunavi::scenario {

namespace {

constexpr std::string_view kAboutPrefix = "Form2.";
constexpr std::string_view kMainPrefix = "Form1.";

[[noreturn]] void notLoaded(std::string_view name) {
    throw ScenarioFailure("expected the about box Form2 to be loaded for " + std::string(name) +
                          ", found it not loaded");
}

Target elementOf(Window& window, Element& element, std::string_view name) {
    Target t;
    t.kind = Target::Kind::Element;
    t.name = std::string(name);
    t.window = &window;
    t.element = &element;
    t.eventTarget =
        window.name() == "Form1" ? element.name() : window.name() + "." + element.name();
    return t;
}

}  // namespace

Target resolveTarget(Application& app, std::string_view name) {
    if (name == "Form1" || name == "Form2") {
        Target t;
        t.kind = Target::Kind::Window;
        t.name = std::string(name);
        t.eventTarget = std::string(name);
        t.window = app.window(name);
        return t;
    }
    if (name.starts_with(kAboutPrefix)) {
        Form2* about = app.form2();
        if (about == nullptr) {
            notLoaded(name);
        }
        if (Element* e = about->find(name.substr(kAboutPrefix.size()))) {
            return elementOf(*about, *e, name);
        }
        throw ScenarioFailure("unknown element " + std::string(name) + " (the about box has no " +
                              std::string(name.substr(kAboutPrefix.size())) + ")");
    }
    const std::string_view bare =
        name.starts_with(kMainPrefix) ? name.substr(kMainPrefix.size()) : name;
    Form1& main = app.form1();
    if (Element* e = main.find(bare)) {
        return elementOf(main, *e, name);
    }
    if (Timer* timer = main.findTimer(bare)) {
        Target t;
        t.kind = Target::Kind::Timer;
        t.name = std::string(name);
        t.eventTarget = timer->name();
        t.window = &main;
        t.timer = timer;
        return t;
    }
    throw ScenarioFailure("unknown element " + std::string(name));
}

Target resolveElement(Application& app, std::string_view name, std::string_view command) {
    Target t = resolveTarget(app, name);
    if (t.kind != Target::Kind::Element) {
        throw ScenarioFailure(std::string(command) + ": expected an element, found " +
                              (t.kind == Target::Kind::Timer ? "the timer " : "the window ") +
                              std::string(name));
    }
    return t;
}

std::pair<std::string, std::string> splitProperty(std::string_view nameDotProperty) {
    const auto dot = nameDotProperty.rfind('.');
    if (dot == std::string_view::npos || dot == 0 || dot + 1 == nameDotProperty.size()) {
        throw ScenarioFailure("expected NAME.PROP, found " + std::string(nameDotProperty));
    }
    return {std::string(nameDotProperty.substr(0, dot)),
            std::string(nameDotProperty.substr(dot + 1))};
}

std::string procedureName(std::string_view eventTarget, Event event) {
    std::string base(eventTarget);
    if (base == "Form1") {
        base = "Form";
    }
    // Members of a control array share one procedure that receives the index.
    if (const auto paren = base.find('('); paren != std::string::npos) {
        base.erase(paren);
    }
    return base + "_" + std::string(eventName(event));
}

}  // namespace kazunavi::scenario
