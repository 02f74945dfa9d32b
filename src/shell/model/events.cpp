#include "shell/model/events.h"

#include <algorithm>

namespace kazunavi {

void EventTable::on(std::string target, Event event, Handler handler) {
    handlers_[{std::move(target), event}] = std::move(handler);
}

const EventTable::Handler* EventTable::find(std::string_view target, Event event) const {
    auto it = handlers_.find(std::pair(target, event));
    return it == handlers_.end() ? nullptr : &it->second;
}

std::vector<std::pair<std::string, Event>> EventTable::wired() const {
    std::vector<std::pair<std::string, Event>> all;
    for (const auto& entry : handlers_) {
        all.push_back(entry.first);
    }
    std::sort(all.begin(), all.end());
    return all;
}

std::string_view eventName(Event event) {
    switch (event) {
        case Event::Click:
            return "Click";
        case Event::MouseDown:
            return "MouseDown";
        case Event::MouseUp:
            return "MouseUp";
        case Event::MouseMove:
            return "MouseMove";
        case Event::Timer:
            return "Timer";
    }
    return "?";
}

}  // namespace kazunavi
