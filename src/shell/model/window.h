#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "platform/element.h"
#include "platform/services.h"
#include "platform/timer.h"

namespace kazunavi {

// A form: its elements, timers and window-level properties. Elements are
// created once from the window's inventory and live as long as the window.
class Window {
  public:
    Window(std::string name, WindowHandle handle) : name_(std::move(name)), handle_(handle) {
        elements_.reserve(128);  // elements never move once the inventory is built
    }
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;
    virtual ~Window() = default;

    const std::string& name() const { return name_; }
    WindowHandle handle() const { return handle_; }

    // Elements by their inventory name ("txtNow", "Label4(3)").
    Element* find(std::string_view elementName);
    Element& element(std::string_view elementName);  // throws Failure when unknown
    std::vector<Element>& elements() { return elements_; }
    const std::vector<Element>& elements() const { return elements_; }
    // Changes with every change of any element: a view that has seen it
    // need look at no element.
    std::uint64_t revision() const { return revision_; }

    // Timers in the order of the window's timer table.
    const std::vector<Timer*>& timers() const { return timers_; }
    Timer* findTimer(std::string_view timerName);

    // Window size in twips.
    int width = 0;
    int height = 0;
    bool topMost = false;
    bool loaded = false;
    bool visible = false;

    // Keyboard focus: the element that last received it. Fails on a disabled element.
    void setFocus(Element& target);
    const std::string& focused() const { return focused_; }

  protected:
    friend class ElementBuilder;
    Element& add(std::string elementName, ElementKind kind);
    void addTimer(Timer& timer) { timers_.push_back(&timer); }

  private:
    std::string name_;
    WindowHandle handle_;
    std::vector<Element> elements_;
    // Handlers name elements at every tick: found by name in a few steps.
    std::map<std::string, std::size_t, std::less<>> positions_;
    std::uint64_t revision_ = 0;
    std::vector<Timer*> timers_;
    std::string focused_;
};

}  // namespace kazunavi
