#pragma once

#include <cstdint>
#include <deque>
#include <filesystem>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/common/ini_profile.h"
#include "platform/common/plain_file_store.h"
#include "platform/services.h"
#include "platform/sim/sim_clock.h"

namespace kazunavi {

struct ShownMessage {
    int style;
    std::u16string title;
    std::u16string prompt;
};

class SimMessageBox : public MessageBoxService {
  public:
    int show(std::u16string_view prompt, int style, std::u16string_view title) override;
    std::deque<int> answers;  // next answers; 1 (OK) when none is queued
    std::deque<ShownMessage> shown;
};

class SimClipboard : public Clipboard {
  public:
    bool hasText() override;
    SharedText text() override;
    void clear() override;
    void setText(std::u16string_view text) override;

    std::optional<std::u16string> content;  // nullopt: no text
    bool locked = false;                    // every operation fails

  private:
    void requireUnlocked() const;
};

class SimBrowser : public Browser {
  public:
    void navigate(std::u16string_view address) override;
    bool works = true;
    std::deque<std::u16string> navigations;
};

class SimWindowManager : public WindowManager {
  public:
    WindowHandle foregroundWindow() override { return foreground; }
    std::u16string windowText(WindowHandle window, int bufferSize) override;
    void keepOnTop(WindowHandle window) override { topMost.insert(window); }
    void startDrag(WindowHandle window) override { drags.push_back(window); }

    WindowHandle foreground = 0;
    std::map<WindowHandle, std::u16string> titles;
    std::set<WindowHandle> topMost;
    std::deque<WindowHandle> drags;
};

// The real INI file in a folder of its own; files and the folder can be made
// unwritable (the simulation runs as any user, root included).
class SimProfileFile : public ProfileFile {
  public:
    std::u16string read(const std::filesystem::path& file, std::u16string_view section,
                        std::u16string_view key, std::u16string_view def, int size) override;
    void write(const std::filesystem::path& file, std::u16string_view section,
               std::u16string_view key, std::u16string_view value) override;
    void removeSection(const std::filesystem::path& file, std::u16string_view section) override;
    void beginBatch(const std::filesystem::path& file) override;
    void commitBatch() override;
    void discardBatch() override { real_.discardBatch(); }
    std::optional<std::filesystem::path> keepCopy(const std::filesystem::path& file) override;
    std::vector<std::filesystem::path> takeKeptCopies() override { return real_.takeKeptCopies(); }
    void copyFile(const std::filesystem::path& from, const std::filesystem::path& to) override;

    std::set<std::filesystem::path> readOnly;

  private:
    void requireWritable(const std::filesystem::path& file) const;
    PlainFileStore files_;
    IniProfileFile real_{files_};
};

class SimBeeper : public Beeper {
  public:
    void beep() override { ++beeps; }
    int beeps = 0;
};

class SimInstanceCheck : public InstanceCheck {
  public:
    bool anotherRunning() override { return running; }
    bool running = false;
};

class SimProgramFolder : public ProgramFolder {
  public:
    explicit SimProgramFolder(std::filesystem::path folder) : folder_(std::move(folder)) {}
    std::filesystem::path path() override { return folder_; }
    std::optional<std::filesystem::path> userFolder() override { return user; }

    // None unless a test gives one.
    std::optional<std::filesystem::path> user;

  private:
    std::filesystem::path folder_;
};

class SimBrowserWindows : public BrowserWindows {
  public:
    std::vector<BrowserWindow> list() override { return windows; }
    std::vector<BrowserWindow> windows;
};

class SimProgramExit : public ProgramExit {
  public:
    void endProgram() override { ended = true; }
    bool ended = false;
};

// A whole simulated desktop with a fresh, empty program folder of its own,
// removed again with the desktop.
class SimDesktop {
  public:
    SimDesktop();
    ~SimDesktop();
    SimDesktop(const SimDesktop&) = delete;
    SimDesktop& operator=(const SimDesktop&) = delete;

    Services& services() { return services_; }
    const std::filesystem::path& folder() const { return folder_; }

    // First: the program folder below is made in it.
  private:
    std::filesystem::path folder_;

  public:
    SimProgramFolder programFolder{folder_};
    SimMessageBox messageBox;
    SimClipboard clipboard;
    SimBrowser browser;
    SimWindowManager windowManager;
    SimProfileFile profile;
    SimClock clock;
    SimBeeper beeper;
    SimInstanceCheck instanceCheck;
    SimBrowserWindows browserWindows;
    SimProgramExit programExit;

  private:
    Services services_;
};

}  // namespace kazunavi
