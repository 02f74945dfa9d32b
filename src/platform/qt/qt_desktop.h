#pragma once

// The real desktop: every service the logic runs on, for the program itself.
// Create it after the QApplication.

#include <QObject>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/common/ini_profile.h"
#include "platform/common/latest_browser_windows.h"
#include "platform/linux/browser_launcher.h"
#include "platform/linux/instance_lock.h"
#include "platform/linux/monotonic_ticks.h"
#include "platform/linux/posix_file_store.h"
#include "platform/linux/program_folder.h"
#include "platform/qt/qt_clipboard.h"
#include "platform/qt/qt_global_keys.h"
#include "platform/qt/qt_message_box.h"
#include "platform/qt/qt_timer_host.h"
#include "platform/qt/qt_window_manager.h"
#include "platform/qt/qt_x11_events.h"
#include "platform/services.h"
#include "platform/x11/background_selection.h"
#include "platform/x11/deferred_lookup.h"
#include "platform/x11/x11_connection.h"
#include "platform/x11/x11_windows.h"

namespace kazunavi {

class QtBeeper : public Beeper {
  public:
    void beep() override;
};

// Ends the event loop; the program leaves main when control is back there.
class QtProgramExit : public ProgramExit {
  public:
    void endProgram() override;
};

// The tick counter, letting the windows show the state as it stands before a
// handler waits (the hold after a press shows the pressed colour).
class ShowingTicks : public TickCounter {
  public:
    void setBeforeWait(std::function<void()> beforeWait) { beforeWait_ = std::move(beforeWait); }
    std::uint32_t now() override { return clock_.now(); }
    void pause(std::uint32_t ms) override;

  private:
    MonotonicTicks clock_;
    std::function<void()> beforeWait_;
};

// Why the X display that the window needs cannot be opened, in a line for
// the user; nullopt when it can, or when another Qt platform was chosen.
std::optional<std::string> displayProblem();

class QtDesktop {
  public:
    QtDesktop();
    QtDesktop(const QtDesktop&) = delete;
    QtDesktop& operator=(const QtDesktop&) = delete;
    ~QtDesktop();

    Services& services() { return services_; }
    // Makes the step keys work while other programs have the focus.
    void watchStepKeys(std::function<void(QtGlobalKeys::Step)> pressed);

  private:
    std::unique_ptr<QtGlobalKeys> stepKeys_;
    std::unique_ptr<X11Connection> x11ForWindows_;  // its events are the windows'
    std::unique_ptr<X11Windows> x11Windows_;
    std::unique_ptr<BackgroundSelection> selection_;
    std::unique_ptr<QtX11Events> windowReports_;
    std::unique_ptr<QtX11Events> ownerReports_;

    PosixFileStore files_;

  public:
    QtMessageBox messageBox;
    QtClipboard clipboard;
    LinuxBrowser browser;
    QtWindowManager windowManager;
    IniProfileFile profile{files_};
    ShowingTicks ticks;
    QtBeeper beeper;
    InstanceLock instanceCheck;
    LinuxProgramFolder programFolder;
    LatestBrowserWindows browserWindows{&deferredFrontBrowserLookup};
    QtProgramExit programExit;
    QtTimerHost timerHost;

  private:
    Services services_;
};

}  // namespace kazunavi
