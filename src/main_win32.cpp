// Kazunavi on Windows: the program's entry. Builds the real services, the
// application and its windows, starts the application and runs the message
// loop until the program ends.

#include <windows.h>

#include <commctrl.h>

#include "platform/failure.h"
#include "platform/win32/uia_browser_windows.h"
#include "platform/win32/win32_desktop.h"
#include "shell/application.h"
#include "ui/win32/form_windows.h"
#include "ui/win32/gdi.h"
#include "ui/win32/help_page.h"
#include "ui/win32/skins.h"

namespace {

int runProgram(HINSTANCE program) {
    const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX),
                                        ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&controls);
    const kazunavi::UniqueIcon icon(
        static_cast<HICON>(::LoadImageW(program, MAKEINTRESOURCEW(kazunavi::kProgramIconResource),
                                        IMAGE_ICON, 32, 32, LR_DEFAULTCOLOR)));

    kazunavi::UiaBrowserWindows browserWindows;
    kazunavi::Win32Desktop desktop(browserWindows);
    kazunavi::Application app(desktop.services());
    app.helpAddress = kazunavi::helpPageAddress();
    desktop.browser.allowOwnPage(app.helpAddress);

    kazunavi::FormWindows windows(app, &desktop.windowManager, icon.get());
    desktop.timerHost.setTick([&windows](kazunavi::Timer& timer) { windows.tick(timer); });
    desktop.messageBox.setOwner([&windows] { return windows.messageOwner(); });
    desktop.messageBox.setBeforeShow([&windows] { windows.syncAll(); });
    desktop.ticks.setBeforeWait([&windows] { windows.showNow(); });

    app.start();
    if (app.ended()) {
        return 0;  // a second copy: the first one goes on alone
    }
    windows.syncAll();
    return windows.run();
}

}  // namespace

int WINAPI wWinMain(HINSTANCE program, HINSTANCE, PWSTR, int) {
    try {
        return runProgram(program);
    } catch (const kazunavi::Failure& failure) {
        const std::string what = failure.what();  // UTF-8
        std::wstring text(what.size(), L'\0');
        text.resize(static_cast<std::size_t>(
            ::MultiByteToWideChar(CP_UTF8, 0, what.data(), static_cast<int>(what.size()),
                                  text.data(), static_cast<int>(text.size()))));
        ::MessageBoxW(nullptr, text.c_str(), L"Kazunavi", MB_ICONERROR | MB_OK);
        return 1;
    }
}
