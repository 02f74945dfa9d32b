#pragma once

#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kazunavi {

enum class Event { Click, MouseDown, MouseUp, MouseMove, Timer };

// Event procedures by target and event. A target is an element of the main
// window ("lblCUT", "Label4(3)"), a timer ("timCrip"), "Form1" for the
// window's own surface, or an element of another window ("Form2.Label2").
class EventTable {
  public:
    // The mouse button state (1 = left) for mouse events; 0 otherwise.
    using Handler = std::function<void(int button)>;

    void on(std::string target, Event event, Handler handler);
    const Handler* find(std::string_view target, Event event) const;
    // Every target and event that has a procedure.
    std::vector<std::pair<std::string, Event>> wired() const;

  private:
    std::map<std::pair<std::string, Event>, Handler, std::less<>> handlers_;
};

std::string_view eventName(Event event);

}  // namespace kazunavi
