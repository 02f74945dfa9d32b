#include "platform/linux/monotonic_ticks.h"

#include <cerrno>

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
    timespec remaining{static_cast<time_t>(ms / 1000u), static_cast<long>(ms % 1000u) * 1'000'000L};
    // A signal cuts the sleep short; sleep on for what is left.
    while (::nanosleep(&remaining, &remaining) < 0 && errno == EINTR) {
    }
}

}  // namespace kazunavi
