#include "platform/win32/system_ticks.h"

#include <windows.h>

namespace kazunavi {

std::uint32_t ticksOf(std::int64_t counter, std::int64_t frequency) {
    // In two parts: counter * 1000 overflows after about a month where the
    // counter runs at the processor's clock.
    const auto ms = counter / frequency * 1000 + counter % frequency * 1000 / frequency;
    return static_cast<std::uint32_t>(ms);
}

std::uint32_t SystemTicks::now() {
    // Both calls always succeed on Windows XP and later.
    LARGE_INTEGER counter{}, frequency{};
    ::QueryPerformanceCounter(&counter);
    ::QueryPerformanceFrequency(&frequency);
    return ticksOf(counter.QuadPart, frequency.QuadPart);
}

void SystemTicks::pause(std::uint32_t ms) {
    ::Sleep(ms);
}

}  // namespace kazunavi
