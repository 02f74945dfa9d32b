#include "platform/win32/win32_desktop.h"

namespace kazunavi {

void Win32ProgramExit::endProgram() {
    ::PostQuitMessage(0);
}

void ShowingSystemTicks::pause(std::uint32_t ms) {
    if (beforeWait_) {
        beforeWait_();
    }
    clock_.pause(ms);
}

Win32Desktop::Win32Desktop(BrowserWindows& browserWindows)
    : services_{.messageBox = messageBox,
                .clipboard = clipboard,
                .browser = browser,
                .windowManager = windowManager,
                .profile = profile,
                .ticks = ticks,
                .beeper = beeper,
                .instanceCheck = instanceCheck,
                .programFolder = programFolder,
                .browserWindows = browserWindows,
                .programExit = programExit,
                .timerHost = timerHost} {}

}  // namespace kazunavi
