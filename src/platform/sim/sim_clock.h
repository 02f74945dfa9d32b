#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "platform/services.h"
#include "platform/timer.h"

namespace kazunavi {

// Simulated time: the 32-bit tick counter and the timers of the windows.
// Time passes only when told to (advance) or while a handler waits (pause).
class SimClock : public TickCounter, public TimerHost {
  public:
    std::uint32_t now() override;
    void pause(std::uint32_t ms) override { elapsed_ += ms; }
    void timerChanged(Timer& timer) override;
    void timerReleased(Timer& timer) override;

    // The tick counter reads ms from this moment on.
    void setReading(std::uint32_t ms);

    // Lets ms milliseconds pass. Every enabled timer ticks when due (t+I,
    // t+2I, ...); ticks due at the same instant come in the order the timers
    // were attached (the window's timer table); a timer that fell due while a handler waited ticks
    // once when the handler ends, its next tick one interval later.
    void advance(std::uint64_t ms, const std::function<void(Timer&)>& tick);

    // Milliseconds since the simulation began.
    std::uint64_t elapsed() const { return elapsed_; }
    // The timers attached and not yet released.
    std::size_t timerCount() const { return entries_.size(); }

  private:
    struct Entry {
        Timer* timer;
        std::uint64_t due;
    };
    Entry& entryFor(Timer& timer);

    std::uint64_t elapsed_ = 0;
    std::uint32_t reading_ = 0;
    std::uint64_t readingSetAt_ = 0;
    std::vector<Entry> entries_;
};

}  // namespace kazunavi
