#pragma once

// The millisecond counter on Windows: the system's tick count since start,
// which neither jumps with the wall clock nor stops while the program waits.

#include <cstdint>

#include "platform/services.h"

namespace kazunavi {

class SystemTicks : public TickCounter {
  public:
    std::uint32_t now() override;
    void pause(std::uint32_t ms) override;
};

}  // namespace kazunavi
