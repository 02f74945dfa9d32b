#pragma once

// The millisecond counter on Linux: the monotonic clock, which neither jumps
// with the wall clock nor stops while the program waits.

#include <cstdint>
#include <ctime>

#include "platform/services.h"

namespace kazunavi {

class MonotonicTicks : public TickCounter {
  public:
    std::uint32_t now() override;
    void pause(std::uint32_t ms) override;
};

// The clock reading in milliseconds, kept to its low 32 bits.
std::uint32_t ticksOf(const timespec& clock);

}  // namespace kazunavi
