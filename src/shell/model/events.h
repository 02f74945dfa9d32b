#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
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
    // A target and event given as a string or a view of one: the ticks
    // find their procedures without building a string.
    struct Hash {
        using is_transparent = void;
        template <typename Key>
        std::size_t operator()(const Key& key) const {
            return std::hash<std::string_view>()(key.first) ^ static_cast<std::size_t>(key.second);
        }
    };
    struct Same {
        using is_transparent = void;
        template <typename A, typename B>
        bool operator()(const A& a, const B& b) const {
            return std::string_view(a.first) == std::string_view(b.first) && a.second == b.second;
        }
    };
    std::unordered_map<std::pair<std::string, Event>, Handler, Hash, Same> handlers_;
};

std::string_view eventName(Event event);

}  // namespace kazunavi
