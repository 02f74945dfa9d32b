#pragma once

// The real desktop on Windows: every service the logic runs on, for the
// program itself. The browser windows that KEEP captures come from the
// program, which picks how they are found.

#include <functional>

#include "platform/common/ini_profile.h"
#include "platform/services.h"
#include "platform/win32/instance_mutex.h"
#include "platform/win32/message_beep.h"
#include "platform/win32/message_window.h"
#include "platform/win32/program_folder.h"
#include "platform/win32/shell_browser.h"
#include "platform/win32/system_ticks.h"
#include "platform/win32/win32_clipboard.h"
#include "platform/win32/win32_file_store.h"
#include "platform/win32/win32_message_box.h"
#include "platform/win32/win32_timer_host.h"
#include "platform/win32/win32_window_manager.h"

namespace kazunavi {

// Ends the message loop; the program leaves WinMain when control is back there.
class Win32ProgramExit : public ProgramExit {
  public:
    void endProgram() override;
};

// The tick counter, letting the windows show the state as it stands before a
// handler waits (the hold after a press shows the pressed colour).
class ShowingSystemTicks : public TickCounter {
  public:
    void setBeforeWait(std::function<void()> beforeWait) { beforeWait_ = std::move(beforeWait); }
    std::uint32_t now() override { return clock_.now(); }
    void pause(std::uint32_t ms) override;

  private:
    SystemTicks clock_;
    std::function<void()> beforeWait_;
};

class Win32Desktop {
  public:
    explicit Win32Desktop(BrowserWindows& browserWindows);
    Win32Desktop(const Win32Desktop&) = delete;
    Win32Desktop& operator=(const Win32Desktop&) = delete;

    Services& services() { return services_; }

  private:
    MessageWindow clipboardOwner_;
    Win32FileStore files_;

  public:
    Win32MessageBox messageBox{nullptr};
    Win32Clipboard clipboard{clipboardOwner_.get()};
    ShellBrowser browser;
    Win32WindowManager windowManager;
    IniProfileFile profile{files_};
    ShowingSystemTicks ticks;
    MessageBeeper beeper;
    InstanceMutex instanceCheck;
    Win32ProgramFolder programFolder;
    Win32ProgramExit programExit;
    Win32TimerHost timerHost;

  private:
    Services services_;
};

}  // namespace kazunavi
