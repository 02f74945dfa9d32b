// The user's actions on the window and the passing of time.

#include <limits>

#include "runner/interpreter.h"
#include "runner/scenario_failure.h"

namespace kazunavi::scenario {

namespace {

constexpr long long kLongestWait = 1LL << 40;  // about 35 years of simulated time
constexpr long long kMostTicks = 1'000'000;

std::string_view kindName(ElementKind kind) {
    switch (kind) {
        case ElementKind::Label:
            return "a label";
        case ElementKind::TextBox:
            return "a text box";
        case ElementKind::CommandButton:
            return "a command button";
        case ElementKind::ComboBox:
            return "a drop-down list";
        case ElementKind::ListBox:
            return "a list box";
        case ElementKind::Picture:
            return "a picture";
        case ElementKind::Shape:
            return "a shape";
        case ElementKind::Line:
            break;
    }
    return "a line";
}

// A click moves the keyboard focus only to elements that can hold it.
bool takesFocus(const Element& e) {
    return e.kind() == ElementKind::CommandButton || e.isTextBox() || e.isList();
}

// Why the user cannot reach the element, if they cannot: it, or a container
// it sits in, is disabled or hidden.
std::optional<std::string> unreachable(Window& window, const Element& element,
                                       const std::string& name) {
    const Element* e = &element;
    for (int depth = 0; e != nullptr && depth < 16; ++depth) {
        const std::string inner =
            e == &element ? name + " is" : name + " sits in " + e->name() + ", which is";
        if (!e->enabled()) {
            return inner + " disabled";
        }
        if (!e->visible()) {
            return inner + " not visible";
        }
        e = e->container.empty() ? nullptr : window.find(e->container);
    }
    return std::nullopt;
}

std::optional<Event> mouseEvent(std::string_view name) {
    for (Event e : {Event::Click, Event::MouseDown, Event::MouseUp, Event::MouseMove}) {
        if (eventName(e) == name) {
            return e;
        }
    }
    return std::nullopt;
}

// What a click or an event may be aimed at: an element or a loaded window.
Target pointedAt(Application& app, const std::string& name, std::string_view command) {
    Target t = resolveTarget(app, name);
    if (t.kind == Target::Kind::Timer) {
        throw ScenarioFailure(std::string(command) +
                              ": expected an element or a window, found the timer " + name);
    }
    if (t.window == nullptr) {
        throw ScenarioFailure(std::string(command) +
                              ": expected the about box Form2 to be loaded, found it not loaded");
    }
    return t;
}

}  // namespace

void Interpreter::pressAndRelease(const std::string& name, std::string_view command,
                                  std::optional<std::uint64_t> holdMs) {
    const Target t = pointedAt(*app_, name, command);
    bool reached = true;
    if (t.kind == Target::Kind::Element) {
        // A disabled or hidden element receives none of the events.
        reached = !unreachable(*t.window, *t.element, name);
        if (reached && takesFocus(*t.element)) {
            t.window->setFocus(*t.element);
        }
    }
    // The target may go away with its window during the events: only its name is used.
    const std::string target = t.eventTarget;
    if (reached) {
        fire(target, Event::MouseDown, 1);
    }
    if (holdMs) {
        passTime(*holdMs);
    }
    if (reached) {
        fire(target, Event::MouseUp, 1);
        fire(target, Event::Click, 0);
    }
}

void Interpreter::clickCommand(CommandWords& words) {
    const std::string name = words.word("an element name");
    words.finish();
    pressAndRelease(name, "click", std::nullopt);
}

void Interpreter::holdCommand(CommandWords& words) {
    const std::string name = words.word("an element name");
    const auto ms = words.integer("the milliseconds", 0, kLongestWait);
    words.finish();
    pressAndRelease(name, "hold", static_cast<std::uint64_t>(ms));
}

void Interpreter::eventCommand(CommandWords& words) {
    const std::string name = words.word("an element name");
    const std::string eventWord = words.word("Click, MouseDown, MouseUp or MouseMove");
    const auto event = mouseEvent(eventWord);
    if (!event) {
        throw ScenarioFailure("event: expected Click, MouseDown, MouseUp or MouseMove, found " +
                              eventWord);
    }
    const bool press = *event == Event::MouseDown || *event == Event::MouseUp;
    const long long button =
        words.atEnd() ? (press ? 1 : 0)
                      : words.integer("the button state", std::numeric_limits<std::int16_t>::min(),
                                      std::numeric_limits<std::int16_t>::max());
    words.finish();
    const Target t = pointedAt(*app_, name, "event");
    fire(t.eventTarget, *event, static_cast<int>(button));
}

Target Interpreter::editedElement(const std::string& name, std::string_view command,
                                  bool (*fits)(const Element&), std::string_view kindWanted) {
    Target t = resolveElement(*app_, name, command);
    if (!fits(*t.element)) {
        throw ScenarioFailure(std::string(command) + ": expected " + std::string(kindWanted) +
                              ", found " + name + ", " + std::string(kindName(t.element->kind())));
    }
    if (const auto why = unreachable(*t.window, *t.element, name)) {
        throw ScenarioFailure(*why);
    }
    return t;
}

void Interpreter::typeCommand(CommandWords& words) {
    const std::string name = words.word("a text box name");
    std::u16string text = words.string("the text");
    words.finish();
    const Target t = editedElement(
        name, "type", [](const Element& e) { return e.isTextBox(); }, "a text box");
    t.window->setFocus(*t.element);
    const int end = static_cast<int>(text.size());
    t.element->setText(std::move(text));
    t.element->setSelStart(end);
}

void Interpreter::selectCommand(CommandWords& words) {
    const std::string name = words.word("a text box name");
    const auto start = words.integer("START", 0, std::numeric_limits<int>::max());
    const auto length = words.integer("LENGTH", 0, std::numeric_limits<int>::max());
    words.finish();
    const Target t = editedElement(
        name, "select", [](const Element& e) { return e.isTextBox(); }, "a text box");
    const auto size = static_cast<long long>(t.element->text().size());
    if (start + length > size) {
        throw ScenarioFailure("select: expected a selection within the " + std::to_string(size) +
                              " characters of " + name + ", found " + std::to_string(start) +
                              " to " + std::to_string(start + length));
    }
    t.window->setFocus(*t.element);
    t.element->setSelStart(static_cast<int>(start));
    t.element->setSelLength(static_cast<int>(length));
}

void Interpreter::chooseCommand(CommandWords& words) {
    const std::string name = words.word("a list name");
    const auto index = words.integer("the item index", -1, std::numeric_limits<int>::max());
    words.finish();
    const Target t = editedElement(
        name, "choose", [](const Element& e) { return e.isList(); }, "a list");
    if (index >= t.element->listCount()) {
        throw ScenarioFailure("choose: expected an item " + std::to_string(index) + " in " + name +
                              ", found ListCount " + std::to_string(t.element->listCount()));
    }
    t.window->setFocus(*t.element);
    t.element->setListIndex(static_cast<int>(index));
}

void Interpreter::tickCommand(CommandWords& words) {
    const std::string name = words.word("a timer name");
    const auto count = words.atEnd() ? 1 : words.integer("the number of ticks", 0, kMostTicks);
    words.finish();
    const Target t = resolveTarget(*app_, name);
    if (t.kind != Target::Kind::Timer) {
        throw ScenarioFailure("tick: expected a timer, found " + name);
    }
    const std::string target = t.eventTarget;
    for (long long i = 0; i < count && !app_->ended(); ++i) {
        fire(target, Event::Timer, 0);
    }
}

void Interpreter::waitCommand(CommandWords& words) {
    const auto ms = words.integer("the milliseconds", 0, kLongestWait);
    words.finish();
    passTime(static_cast<std::uint64_t>(ms));
}

}  // namespace kazunavi::scenario
