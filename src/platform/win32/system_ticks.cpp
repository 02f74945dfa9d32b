#include "platform/win32/system_ticks.h"

#include <windows.h>

namespace kazunavi {

std::uint32_t SystemTicks::now() {
    // The low 32 bits: the counter wraps as the logic expects.
    return static_cast<std::uint32_t>(::GetTickCount64());
}

void SystemTicks::pause(std::uint32_t ms) {
    ::Sleep(ms);
}

}  // namespace kazunavi
