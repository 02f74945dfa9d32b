#include "platform/sim/sim_clock.h"

#include <algorithm>

namespace kazunavi {

std::uint32_t SimClock::now() {
    return reading_ + static_cast<std::uint32_t>(elapsed_ - readingSetAt_);
}

void SimClock::setReading(std::uint32_t ms) {
    reading_ = ms;
    readingSetAt_ = elapsed_;
}

SimClock::Entry& SimClock::entryFor(Timer& timer) {
    auto it = std::find_if(entries_.begin(), entries_.end(),
                           [&](const Entry& e) { return e.timer == &timer; });
    if (it != entries_.end()) {
        return *it;
    }
    return entries_.emplace_back(Entry{&timer, 0});
}

void SimClock::timerChanged(Timer& timer) {
    Entry& e = entryFor(timer);
    e.due = elapsed_ + static_cast<std::uint64_t>(std::max(timer.interval(), 0));
}

void SimClock::timerReleased(Timer& timer) {
    std::erase_if(entries_, [&](const Entry& e) { return e.timer == &timer; });
}

void SimClock::advance(std::uint64_t ms, const std::function<void(Timer&)>& tick) {
    const std::uint64_t end = elapsed_ + ms;
    for (;;) {
        Entry* next = nullptr;
        std::uint64_t nextAt = 0;
        for (Entry& e : entries_) {
            if (!e.timer->enabled() || e.timer->interval() <= 0) {
                continue;
            }
            const std::uint64_t at = std::max(e.due, elapsed_);
            if (at <= end && (next == nullptr || at < nextAt)) {
                next = &e;
                nextAt = at;
            }
        }
        if (next == nullptr) {
            break;
        }
        elapsed_ = nextAt;
        next->due = nextAt + static_cast<std::uint64_t>(next->timer->interval());
        tick(*next->timer);
    }
    elapsed_ = std::max(elapsed_, end);
}

}  // namespace kazunavi
