#include "platform/linux/monotonic_ticks.h"

#include <chrono>
#include <thread>

namespace kazunavi {

std::uint32_t ticksOf(const timespec& clock) {
    const auto ms = static_cast<std::uint64_t>(clock.tv_sec) * 1000u +
                    static_cast<std::uint64_t>(clock.tv_nsec) / 1'000'000u;
    return static_cast<std::uint32_t>(ms);
}

std::uint32_t MonotonicTicks::now() {
    timespec clock{};
    ::clock_gettime(CLOCK_MONOTONIC, &clock);
    return ticksOf(clock);
}

void MonotonicTicks::pause(std::uint32_t ms) {
    // Sleeps on for what is left when a signal cuts the sleep short.
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

}  // namespace kazunavi
