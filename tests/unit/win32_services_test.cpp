// The Windows services on this system's real files, processes and code page.
// Run under Wine here; where Wine is known to answer otherwise than Windows,
// the case says so and holds the code to what Windows does.

#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <future>
#include <optional>
#include <string>
#include <thread>

#include "platform/common/cp932.h"
#include "platform/common/utf8.h"
#include "platform/failure.h"
#include "platform/win32/code_page.h"
#include "platform/win32/handle.h"
#include "platform/win32/instance_mutex.h"
#include "platform/win32/message_window.h"
#include "platform/win32/program_folder.h"
#include "platform/win32/shell_browser.h"
#include "platform/win32/system_ticks.h"
#include "platform/win32/uia_browser_windows.h"
#include "platform/win32/uia_desktop.h"
#include "platform/win32/win32_clipboard.h"
#include "platform/win32/win32_file_store.h"
#include "platform/win32/win32_message_box.h"
#include "platform/win32/win32_window_manager.h"
#include "support/scratch_folder.h"

namespace kazunavi {
namespace {

namespace fs = std::filesystem;
using test::fileBytes;
using test::putFile;

// Set in the environment of the child that the crash test kills.
constexpr wchar_t kSaverVariable[] = L"KAZUNAVI_TEST_SAVE_FOREVER";

// This test program again, running one disabled case alone until it is killed.
class ChildCase {
  public:
    explicit ChildCase(const std::wstring& name) {
        std::wstring command = L"unit_tests --gtest_also_run_disabled_tests --gtest_filter=" + name;
        std::wstring self(MAX_PATH, L'\0');
        self.resize(::GetModuleFileNameW(nullptr, self.data(), MAX_PATH));
        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        PROCESS_INFORMATION child{};
        EXPECT_TRUE(::CreateProcessW(self.c_str(), command.data(), nullptr, nullptr, FALSE, 0,
                                     nullptr, nullptr, &startup, &child));
        process_ = UniqueHandle(child.hProcess);
        UniqueHandle thread(child.hThread);
    }
    ChildCase(const ChildCase&) = delete;
    ChildCase& operator=(const ChildCase&) = delete;
    ~ChildCase() { kill(); }
    void kill() {
        if (process_) {
            ::TerminateProcess(process_.get(), 9);
            ::WaitForSingleObject(process_.get(), INFINITE);
            process_.reset();
        }
    }

  private:
    UniqueHandle process_;
};

// Not a test of its own: the child process of the next one, saving until
// killed. A save that a reader of the file holds up fails; the next one runs.
TEST(Win32Crash, DISABLED_SavesUntilKilled) {
    std::wstring file(MAX_PATH, L'\0');
    file.resize(::GetEnvironmentVariableW(kSaverVariable, file.data(), MAX_PATH));
    Win32FileStore files;
    for (int round = 0;; ++round) {
        try {
            files.replace(fs::path(file), std::string(100'000 + round % 2, 'a' + round % 2));
        } catch (const Failure&) {
        }
    }
}

// A name of Japanese text stays that name; a read-only file and a file held
// open without leave to delete it are not replaced, and a save killed midway
// leaves the old or the new list whole and a leftover the next start removes.
TEST(Win32FileStore, ReplacesWholeOrNotAtAll) {
    test::ScratchFolder folder;
    Win32FileStore files;
    const fs::path list = folder.path() / L"新規" / L"保存.ini";
    const FileIdentity written = files.replace(list, "[s]\r\nk=1\r\n");
    EXPECT_EQ(fs::directory_iterator(folder.path() / L"新規")->path().filename().wstring(),
              L"保存.ini");
    EXPECT_EQ(files.identity(list), written);
    EXPECT_EQ(files.read(list)->bytes, "[s]\r\nk=1\r\n");
    EXPECT_EQ(files.read(folder.path() / "missing"), std::nullopt);
    EXPECT_THROW(files.read(folder.path()), Failure);

    ASSERT_TRUE(::SetFileAttributesW(list.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_THROW(files.replace(list, "new"), Failure);
    ::SetFileAttributesW(list.c_str(), FILE_ATTRIBUTE_NORMAL);
    {
        const UniqueHandle reader(::CreateFileW(list.c_str(), GENERIC_READ, FILE_SHARE_READ,
                                                nullptr, OPEN_EXISTING, 0, nullptr));
        EXPECT_THROW(files.replace(list, "new"), Failure);
    }
    EXPECT_EQ(fileBytes(list), "[s]\r\nk=1\r\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(list.parent_path()), {}), 1);

    ::SetEnvironmentVariableW(kSaverVariable, list.c_str());
    ChildCase saver(L"Win32Crash.DISABLED_SavesUntilKilled");
    for (int wait = 0; wait < 200 && files.read(list)->bytes.size() < 100'000; ++wait) {
        ::Sleep(50);
    }
    ::Sleep(300);
    saver.kill();
    const std::string left = files.read(list)->bytes;
    EXPECT_TRUE(left == std::string(100'000, 'a') || left == std::string(100'001, 'b'))
        << left.size();
    putFile(list.parent_path() / (savingPrefix(list) + L"7"), "cut");
    putFile(list.parent_path() / L"other.ini", "kept");
    files.removeLeftovers(list);
    EXPECT_EQ(std::distance(fs::directory_iterator(list.parent_path()), {}), 2);
}

// Not a test of its own: the child process of the next one, holding the
// clipboard open until killed (with no window: under Wine, the first window
// of a second process waits seconds for the desktop).
constexpr wchar_t kHeldEvent[] = L"Local\\KazunaviTest.ClipboardHeld";
TEST(Win32ClipboardHeld, DISABLED_HoldsTheClipboard) {
    ASSERT_TRUE(::OpenClipboard(nullptr));
    const UniqueHandle held(::OpenEventW(EVENT_MODIFY_STATE, FALSE, kHeldEvent));
    ::SetEvent(held.get());
    ::Sleep(INFINITE);
}

// A clipboard that another program holds open fails at once, and works again
// when that program has ended; a text read before and unchanged since needs no
// opening; a text ends at its NUL.
TEST(Win32Clipboard, FailsAtOnceWhileAnotherProgramHoldsIt) {
    MessageWindow window;
    Win32Clipboard clipboard(window.get());
    clipboard.setText(u"before");
    EXPECT_EQ(clipboard.text().get(), u"before");
    const UniqueHandle held(::CreateEventW(nullptr, TRUE, FALSE, kHeldEvent));
    ChildCase holder(L"Win32ClipboardHeld.DISABLED_HoldsTheClipboard");
    ASSERT_EQ(::WaitForSingleObject(held.get(), 20'000), WAIT_OBJECT_0);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(clipboard.hasText());
    EXPECT_EQ(clipboard.text().get(), u"before");
    EXPECT_THROW(clipboard.setText(u"mine"), Failure);
    EXPECT_THROW(clipboard.clear(), Failure);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(500));
    holder.kill();
    clipboard.setText(std::u16string(u"日本語\0tail", 8));
    EXPECT_EQ(clipboard.text().get(), u"日本語");
    clipboard.clear();
    EXPECT_FALSE(clipboard.hasText());
    EXPECT_EQ(clipboard.text().get(), u"");
}

// A window of this program with a title, gone with its owner.
struct TitledWindow {
    explicit TitledWindow(const wchar_t* title)
        : window(::CreateWindowExW(0, L"STATIC", title, WS_OVERLAPPEDWINDOW, 0, 0, 100, 100,
                                   nullptr, nullptr, nullptr, nullptr)) {}
    ~TitledWindow() { ::DestroyWindow(window); }
    HWND window;
};

// Titles narrowed by the program's table, never cut inside a character (the
// ANSI call cuts there under Wine); a window gone has none.
TEST(Win32WindowManager, ReadsTitlesAndKeepsWindowsOnTop) {
    Win32WindowManager windows;
    const std::wstring long_(70, L'あ');
    WindowHandle gone = 0;
    {
        const TitledWindow titled(long_.c_str()), plain(L"Caf\u00E9 \u301C");
        gone = handleOf(titled.window);
        EXPECT_EQ(windowOf(gone), titled.window);
        EXPECT_EQ(windows.windowText(gone, WindowManager::kTitleBufferSize),
                  std::u16string(63, u'あ'));
        EXPECT_EQ(windows.windowText(handleOf(plain.window), 128), u"Caf? \uFF5E");
        windows.keepOnTop(handleOf(plain.window));
        EXPECT_NE(::GetWindowLongW(plain.window, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
        EXPECT_EQ(::GetWindowLongW(titled.window, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    }
    EXPECT_EQ(windows.windowText(gone, 128), u"");
}

// The box answers with the button pressed (here Cancel, pressed by a thread).
TEST(Win32MessageBox, AnswersWithTheButtonPressed) {
    std::thread presser([] {
        for (int wait = 0; wait < 200; ++wait, ::Sleep(50)) {
            if (const HWND box = ::FindWindowW(L"#32770", L"Kazunavi\u3000Test")) {
                ::PostMessageW(box, WM_COMMAND, IDCANCEL, 0);
                return;
            }
        }
    });
    EXPECT_EQ(Win32MessageBox(nullptr).show(u"OK?", kOkCancel, u"Kazunavi\u3000Test"),
              kAnswerCancel);
    presser.join();
}

constexpr wchar_t kInstanceName[] = L"Local\\KazunaviTest.Instance";
constexpr wchar_t kRunningEvent[] = L"Local\\KazunaviTest.Running";

// Not a test of its own: the first copy for the next one, running until killed.
TEST(InstanceMutexHeld, DISABLED_RunsUntilKilled) {
    InstanceMutex first(kInstanceName);
    ASSERT_FALSE(first.anotherRunning());
    const UniqueHandle running(::OpenEventW(EVENT_MODIFY_STATE, FALSE, kRunningEvent));
    ::SetEvent(running.get());
    ::Sleep(INFINITE);
}

// A second copy is refused while the first runs; a first copy killed, which
// never lets go, leaves the mutex to the copy that asks next.
TEST(InstanceMutex, OneCopyRunsAtATime) {
    const UniqueHandle running(::CreateEventW(nullptr, TRUE, FALSE, kRunningEvent));
    ChildCase first(L"InstanceMutexHeld.DISABLED_RunsUntilKilled");
    ASSERT_EQ(::WaitForSingleObject(running.get(), 20'000), WAIT_OBJECT_0);
    InstanceMutex second(kInstanceName);
    EXPECT_TRUE(second.anotherRunning());
    first.kill();
    EXPECT_FALSE(second.anotherRunning());
    bool third = false;
    std::thread([&] { third = InstanceMutex(kInstanceName).anotherRunning(); }).join();
    EXPECT_TRUE(third);
}

// Beside the program while files can be made there; else the local data
// folder, unless only the program's folder holds a list.
TEST(Win32ProgramFolder, FallsBackToTheLocalDataFolder) {
    test::ScratchFolder folder;
    putFile(folder / "file", "");
    EXPECT_TRUE(canCreateFilesIn(folder.path()));
    EXPECT_FALSE(canCreateFilesIn(folder / "file"));
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), {}), 1);  // no probe left

    const fs::path local = folder.path() / L"Local", beside = folder.path() / L"Program";
    fs::create_directories(beside);
    const auto chosen = [&](bool writable) {
        Win32ProgramFolder program({beside, local, [&](const fs::path&) { return writable; }});
        return std::pair(program.path(), program.userFolder());
    };
    EXPECT_EQ(chosen(true), std::pair(beside, std::optional<fs::path>()));
    EXPECT_EQ(chosen(false).first, local / L"Kazunavi");
    putFile(beside / "URL.ini", "");
    EXPECT_EQ(chosen(false), std::pair(beside, std::optional(local / L"Kazunavi")));
    fs::create_directories(local / L"Kazunavi");
    putFile(local / L"Kazunavi" / L"URL.ini", "");
    EXPECT_EQ(chosen(false), std::pair(local / L"Kazunavi", std::optional<fs::path>()));

    const Win32FolderSetting real = Win32FolderSetting::ofThisProcess();
    EXPECT_TRUE(fs::exists(real.executableFolder / L"unit_tests.exe"));
    EXPECT_TRUE(real.localAppData.is_absolute());
}

// Only web addresses reach the shell, which would run a program for others.
TEST(ShellBrowser, HandsTheShellWebAddressesOnly) {
    EXPECT_EQ(shellAddressFor(u"HTTPS://例.jp/p001.jpg"), L"HTTPS://例.jp/p001.jpg");
    EXPECT_EQ(shellAddressFor(u"www.example.org/a:b"), L"http://www.example.org/a:b");
    EXPECT_EQ(shellAddressFor(u"C:\\calc.exe"), L"http://C:\\calc.exe");
    EXPECT_EQ(shellAddressFor(u"example.org:8080"), L"http://example.org:8080");
    EXPECT_EQ(shellAddressFor(u"localhost:80/?a:b"), L"http://localhost:80/?a:b");
    for (const char16_t* refused : {u"", u"-x", u"http://a/\tb", u"http://a/\x7F", u"file:///C:/x",
                                    u"ms-settings:", u"javascript:x", u"mailto:a@b"}) {
        EXPECT_THROW(shellAddressFor(refused), Failure) << toUtf8(refused);
    }
}

// Milliseconds, wrapping at 32 bits, also past the days where the counter
// times 1000 no longer fits.
TEST(SystemTicks, CountMilliseconds) {
    SystemTicks ticks;
    const std::uint32_t start = ticks.now();
    ticks.pause(50);
    EXPECT_GE(std::uint32_t(ticks.now() - start), 50u);
    EXPECT_LT(std::uint32_t(ticks.now() - start), 1000u);
    constexpr std::int64_t kHertz = 3'000'000'000, kDays = 86'400 * kHertz;
    EXPECT_EQ(ticksOf(100 * kDays + kHertz / 1000 * 7, kHertz),
              std::uint32_t(8'640'000'007 % (1ull << 32)));
}

// URL.ini uses the program's own table on every platform. Every code that it
// reads as a character, Windows reads as the same character; it differs only
// where it keeps bytes Windows would lose (a byte of no character, a second
// code of a character), and where it writes a code that Windows does not.
TEST(Cp932OnWindows, ThePortableTableReadsAsWindowsDoes) {
    int differences = 0;
    for (unsigned code = 0x80; code <= 0xFCFC; ++code) {
        const bool pair = code > 0xFF;
        if (pair && (!isCp932LeadByte(code >> 8) || (code & 0xFF) < 0x40)) {
            continue;
        }
        std::string bytes =
            pair ? std::string{char(code >> 8), char(code)} : std::string(1, char(code));
        const std::u16string own = fromCp932(bytes);
        if (own.size() == 1 && (own[0] < 0xDC80 || own[0] > 0xDCFF)) {
            differences += own != systemFromCp932(bytes) || toCp932(own) != bytes;
        } else {
            differences += toCp932(own) != bytes;  // kept byte for byte
        }
    }
    EXPECT_EQ(differences, 0);
    // Character, the table's bytes, Windows' bytes. Wine 8 writes the same.
    const std::tuple<std::u16string_view, std::string_view, std::string_view> written[] = {
        {u"\u0080", "?", "\x80"},
        {u"\u2014", "\x81\x5C", "?"},
        {u"\u2015", "\x81\x5C", "\x81\x5C"},
        {u"¥", "\\", "\\"},
        {u"¢", "\x81\x91", "\x81\x91"},
        {u"£", "\x81\x92", "\x81\x92"},
        {u"¬", "\x81\xCA", "\x81\xCA"},
        {u"‖", "\x81\x61", "?"},
        {u"−", "\x81\x7C", "?"},
        {u"〜", "\x81\x60", "?"},
        {u"‾", "~", "?"},
        {u"é", "?", "e"}};
    for (const auto& [text, own, windows] : written) {
        EXPECT_EQ(toCp932(text), own);
        EXPECT_EQ(systemToCp932(text), windows);
    }
    EXPECT_EQ(systemFromCp932("\x80\xA0\xFD"), u"\u0080\uF8F0\uF8F1");
    EXPECT_EQ(fromCp932("\x80\xA0\xFD"), (std::u16string{0xDC80, 0xDCA0, 0xDCFD}));
}

// Wine has no UI Automation: no browser window is ever listed (KEEP then says
// that it found nothing), and nothing waits or fails on the way.
TEST(UiaBrowserWindows, WithoutUiAutomationNoWindowIsListed) {
    EXPECT_THROW(std::async(std::launch::async, [] { UiaDesktop desktop; }).get(), Failure);
    UiaBrowserWindows windows;
    for (int tick = 0; tick < 3; ++tick) {
        EXPECT_TRUE(windows.list().empty());
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
    }
}

}  // namespace
}  // namespace kazunavi
