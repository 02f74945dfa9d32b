#pragma once

// The system services the logic asks of the desktop, one small interface
// each. Every operation that can fail throws kazunavi::Failure.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/failure.h"
#include "platform/shared_text.h"
#include "platform/timer.h"

namespace kazunavi {

// Numeric styles of the message box.
enum MessageStyle : int {
    kOkCancel = 1,        // OK and Cancel, no icon
    kExclamationOk = 48,  // exclamation icon, OK
};
constexpr int kAnswerOk = 1;
constexpr int kAnswerCancel = 2;

class MessageBoxService {
  public:
    virtual ~MessageBoxService() = default;
    // Modal; returns the number of the button pressed (OK is 1).
    virtual int show(std::u16string_view prompt, int style, std::u16string_view title) = 0;
};

// Plain-text clipboard.
class Clipboard {
  public:
    virtual ~Clipboard() = default;
    virtual bool hasText() = 0;
    virtual SharedText text() = 0;  // empty when it holds no text
    virtual void clear() = 0;
    virtual void setText(std::u16string_view text) = 0;
};

// The browser step: a new browser window, made visible and sent to one
// address. Any failure on the way is one failure.
class Browser {
  public:
    virtual ~Browser() = default;
    virtual void navigate(std::u16string_view address) = 0;
};

using WindowHandle = std::uint32_t;

class WindowManager {
  public:
    virtual ~WindowManager() = default;
    // The window that has the user's input, of any program; 0 for none.
    virtual WindowHandle foregroundWindow() = 0;
    // The title as the narrow window-text call gives it: at most bufferSize-1
    // bytes in the program's narrow encoding, never cut inside a character.
    virtual std::u16string windowText(WindowHandle window, int bufferSize) = 0;
    // The buffer through which the capture reads a browser window's title.
    static constexpr int kTitleBufferSize = 128;
    // Keeps the window above all windows that are not kept on top.
    virtual void keepOnTop(WindowHandle window) = 0;
    // Hands the window to the system's move loop, which moves it with the
    // pointer until the button is up; may return before that.
    virtual void startDrag(WindowHandle window) = 0;
};

// An INI file read and written like the Windows profile functions, in code
// page 932 with CR LF lines.
class ProfileFile {
  public:
    virtual ~ProfileFile() = default;
    // The value, or def when the file, section or key is missing; at most
    // size-1 bytes of the stored text, never cut inside a character.
    virtual std::u16string read(const std::filesystem::path& file, std::u16string_view section,
                                std::u16string_view key, std::u16string_view def, int size) = 0;
    virtual void write(const std::filesystem::path& file, std::u16string_view section,
                       std::u16string_view key, std::u16string_view value) = 0;
    virtual void removeSection(const std::filesystem::path& file, std::u16string_view section) = 0;

    // Optional: between beginBatch and commitBatch (or discardBatch) the reads
    // of that file may all see one version of it, and its writes and removals
    // may be held in memory and made as one rewrite of the file; discardBatch
    // drops them. A file without batches looks and writes at every call.
    virtual void beginBatch(const std::filesystem::path& /*file*/) {}
    virtual void commitBatch() {}
    virtual void discardBatch() {}
    // A copy of the file as it is now, kept beside it under a name of its
    // own; nothing when there is no such file. Failure when none can be made.
    virtual std::optional<std::filesystem::path> keepCopy(const std::filesystem::path& file) = 0;
    // The copies that saves made on their own since the last call: a save
    // that finds the file changed by another program since this one last
    // read or wrote it keeps that version first.
    virtual std::vector<std::filesystem::path> takeKeptCopies() = 0;
    // The file's bytes as they are into another file; nothing when there is
    // no such file. Failure when the copy cannot be written.
    virtual void copyFile(const std::filesystem::path& from, const std::filesystem::path& to) = 0;
};

// One version of a profile file for a scope: the reads look at the file once
// and the writes rewrite it once, at commit(). Changes not committed are
// dropped when the guard goes. A profile that cannot open a batch is used
// without one: every read and write then goes to the file on its own.
class ProfileBatch {
  public:
    ProfileBatch(ProfileFile& profile, const std::filesystem::path& file) : profile_(profile) {
        try {
            profile_.beginBatch(file);
            open_ = true;
        } catch (const Failure&) {
        }
    }
    ProfileBatch(const ProfileBatch&) = delete;
    ProfileBatch& operator=(const ProfileBatch&) = delete;
    ~ProfileBatch() {
        if (open_) {
            profile_.discardBatch();
        }
    }
    // Failure when the file cannot be written; a second commit does nothing.
    void commit() {
        if (std::exchange(open_, false)) {
            profile_.commitBatch();
        }
    }

  private:
    ProfileFile& profile_;
    bool open_ = false;
};

// A 32-bit millisecond counter that wraps around.
class TickCounter {
  public:
    virtual ~TickCounter() = default;
    virtual std::uint32_t now() = 0;
    // Lets a short slice of time pass while a handler waits; no event of the
    // window is handled meanwhile.
    virtual void pause(std::uint32_t ms) = 0;
};

class Beeper {
  public:
    virtual ~Beeper() = default;
    virtual void beep() = 0;
};

class InstanceCheck {
  public:
    virtual ~InstanceCheck() = default;
    // True when another copy of this program is already running.
    virtual bool anotherRunning() = 0;
};

// The keep list's file in the program's folder.
inline constexpr char16_t kKeepListFileName[] = u"URL.ini";

class ProgramFolder {
  public:
    virtual ~ProgramFolder() = default;
    // The folder that holds the program's files (kKeepListFileName).
    virtual std::filesystem::path path() = 0;
    // The user's own folder, where the list may go when the program's folder
    // cannot take files; nothing when it can, or there is no other folder.
    virtual std::optional<std::filesystem::path> userFolder() = 0;
};

struct BrowserWindow {
    WindowHandle handle = 0;
    std::u16string locationUrl;
    // How many characters the browser appended to the page title in the
    // window title, where the platform knows it. Counted in the title as the
    // narrow window-text call gives it (128-byte buffer): only what fits of
    // the suffix there, so that dropping it leaves the page title.
    std::optional<int> titleSuffixLength;
};

class BrowserWindows {
  public:
    virtual ~BrowserWindows() = default;
    // The open browser windows, in the collection's own order.
    virtual std::vector<BrowserWindow> list() = 0;
};

// Ends the program at once.
class ProgramExit {
  public:
    virtual ~ProgramExit() = default;
    virtual void endProgram() = 0;
};

struct ServiceOverrides;

// The services a window's logic is built with.
struct Services {
    MessageBoxService& messageBox;
    Clipboard& clipboard;
    Browser& browser;
    WindowManager& windowManager;
    ProfileFile& profile;
    TickCounter& ticks;
    Beeper& beeper;
    InstanceCheck& instanceCheck;
    ProgramFolder& programFolder;
    BrowserWindows& browserWindows;
    ProgramExit& programExit;
    TimerHost& timerHost;

    // The same services with those given replaced.
    Services with(const ServiceOverrides& overrides) const;
};

struct ServiceOverrides {
    MessageBoxService* messageBox = nullptr;
    Clipboard* clipboard = nullptr;
    Browser* browser = nullptr;
    WindowManager* windowManager = nullptr;
    ProfileFile* profile = nullptr;
    TickCounter* ticks = nullptr;
    Beeper* beeper = nullptr;
    InstanceCheck* instanceCheck = nullptr;
    ProgramFolder* programFolder = nullptr;
    BrowserWindows* browserWindows = nullptr;
    ProgramExit* programExit = nullptr;
    TimerHost* timerHost = nullptr;
};

inline Services Services::with(const ServiceOverrides& o) const {
    auto pick = [](auto* replacement, auto& original) -> auto& {
        return replacement ? *replacement : original;
    };
    return Services{.messageBox = pick(o.messageBox, messageBox),
                    .clipboard = pick(o.clipboard, clipboard),
                    .browser = pick(o.browser, browser),
                    .windowManager = pick(o.windowManager, windowManager),
                    .profile = pick(o.profile, profile),
                    .ticks = pick(o.ticks, ticks),
                    .beeper = pick(o.beeper, beeper),
                    .instanceCheck = pick(o.instanceCheck, instanceCheck),
                    .programFolder = pick(o.programFolder, programFolder),
                    .browserWindows = pick(o.browserWindows, browserWindows),
                    .programExit = pick(o.programExit, programExit),
                    .timerHost = pick(o.timerHost, timerHost)};
}

}  // namespace kazunavi
