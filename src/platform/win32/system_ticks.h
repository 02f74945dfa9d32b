#pragma once

// The millisecond counter on Windows: the performance counter, which neither
// jumps with the wall clock nor stops while the program waits. The system's
// tick count would do the same, but it steps by 15.6 ms, a large part of the
// intervals the auto-repeat counts.

#include <cstdint>

#include "platform/services.h"

namespace kazunavi {

class SystemTicks : public TickCounter {
  public:
    std::uint32_t now() override;
    void pause(std::uint32_t ms) override;
};

// Counter readings in milliseconds, kept to their low 32 bits.
std::uint32_t ticksOf(std::int64_t counter, std::int64_t frequency);

}  // namespace kazunavi
