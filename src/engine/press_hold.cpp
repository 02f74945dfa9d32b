#include "engine/press_hold.h"

#include <cstdint>

namespace kazunavi {

namespace {
constexpr std::uint32_t kHoldMs = 200;
constexpr std::uint32_t kSliceMs = 1;
}  // namespace

void holdAfterPress(TickCounter& ticks) {
    const std::uint32_t start = ticks.now();
    // Unsigned difference: the counter wraps to 0 after 2^32 ms, and the
    // elapsed time stays right across the wrap. Short pauses keep the wait
    // from burning the processor.
    while (static_cast<std::uint32_t>(ticks.now() - start) <= kHoldMs) {
        ticks.pause(kSliceMs);
    }
}

}  // namespace kazunavi
