// The POSIX services: the browser command and its start, the instance lock,
// the program's folder and the tick counter.

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <set>
#include <thread>

#include "platform/failure.h"
#include "platform/linux/browser_command.h"
#include "platform/linux/browser_launcher.h"
#include "platform/linux/instance_lock.h"
#include "platform/linux/monotonic_ticks.h"
#include "platform/linux/program_folder.h"
#include "support/scratch_folder.h"

namespace kazunavi {
namespace {

using ::testing::ElementsAre;
using Words = std::vector<std::string>;
namespace fs = std::filesystem;
using namespace std::string_literals;
constexpr std::string_view kAddress = "http://host/p01.jpg";

// Exactly these paths are executable; the paths asked about are noted.
ExecutableProbe only(std::set<std::string> paths, Words* asked = nullptr) {
    return [paths, asked](const std::string& path) {
        if (asked) {
            asked->push_back(path);
        }
        return paths.count(path) > 0;
    };
}

TEST(BrowserCommand, EntriesQuotesPercentSignsAndTheProgramsFamily) {
    const std::string a(kAddress);
    const std::tuple<const char*, std::set<std::string>, Words> cases[] = {
        // The first entry whose program is found; names on the path in order.
        {"nosuch:/opt/b:firefox -new:b",
         {"/bin/firefox", "/usr/bin/b"},
         {"/bin/firefox", "-new", a}},
        {"b", {"/usr/bin/b", "/bin/b"}, {"/usr/bin/b", a}},
        // A word with a slash is never searched; an open quote skips the entry.
        {"sub/b:b 'open:./c 'x'", {"/usr/bin/sub/b", "/usr/bin/b", "./c"}, {"./c", "x", a}},
        {R"('/o/My B'  "-p=a b"	it\'s "say \"hi\" \\" '' x'y'"z")",
         {"/o/My B"},
         {"/o/My B", "-p=a b", "it's", R"(say "hi" \)", "", "xyz", a}},
        // %s takes the address (then not appended), %% is one '%', others stay.
        {"b --url=%s [%s]", {"/usr/bin/b"}, {"/usr/bin/b", "--url=" + a, "[" + a + "]"}},
        {"b 100%% %d % x%%s", {"/usr/bin/b"}, {"/usr/bin/b", "100%", "%d", "%", "x%s", a}},
        {":: :nosuch", {"/usr/bin/xdg-open"}, {"/usr/bin/xdg-open", a}},  // the fallback
        // Chromium's relatives are asked for their accessibility tree, once,
        // right after the program; only the program's own name counts.
        {"Google-Chrome -- --app=%s",
         {"/usr/bin/Google-Chrome"},
         {"/usr/bin/Google-Chrome", "--force-renderer-accessibility", "--", "--app=" + a}},
        {"brave --force-renderer-accessibility",
         {"/bin/brave"},
         {"/bin/brave", "--force-renderer-accessibility", a}},
        {"/chrome/firefox", {"/chrome/firefox"}, {"/chrome/firefox", a}},
    };
    for (const auto& [browser, executables, expected] : cases) {
        const BrowserCommand command = browserCommandFor(
            kAddress, {"PATH=/usr/bin:/bin", std::string("BROWSER=") + browser}, only(executables));
        Words seen = command.argv;
        seen.front() = command.program;
        EXPECT_EQ(seen, expected) << browser;
    }
    // The address is neither expanded nor ever the program, even when it names one.
    EXPECT_THAT(browserCommandFor("%s%%", {"BROWSER=b %s"}, only({"/usr/bin/b"})).argv,
                ElementsAre("b", "%s%%"));
    EXPECT_THAT(browserCommandFor("rm", {"BROWSER=%s:b"}, only({"/bin/rm", "/bin/b"})).argv,
                ElementsAre("b", "rm"));
}

TEST(BrowserCommand, TheSearchPathTheChildsEnvironmentAndWhatIsRefused) {
    Words asked;
    EXPECT_EQ(
        browserCommandFor(kAddress, {"PATH=:/a::/b/", "BROWSER=x"}, only({"/b/x"}, &asked)).program,
        "/b/x");
    EXPECT_THAT(asked, ElementsAre("/a/x", "/b/x"));  // an empty folder is not the current one
    // Without PATH the system's default; the first setting of a variable counts.
    EXPECT_EQ(browserCommandFor(kAddress, {"BROWSER=c"}, only({"/usr/bin/c"})).program,
              "/usr/bin/c");
    const BrowserCommand command =
        browserCommandFor(kAddress,
                          {"PATH=/bin", "GNOME_ACCESSIBILITY=0", "BROWSER=b", "BROWSER=c",
                           "GNOME_ACCESSIBILITY_X=5", "PATH=/usr/bin", "GNOME_ACCESSIBILITY="},
                          only({"/bin/b", "/usr/bin/c"}));
    EXPECT_EQ(command.program, "/bin/b");
    EXPECT_THAT(command.envp,
                ElementsAre("PATH=/bin", "BROWSER=b", "BROWSER=c", "GNOME_ACCESSIBILITY_X=5",
                            "PATH=/usr/bin", "GNOME_ACCESSIBILITY=1"));
    // Options, empty addresses and NULs are refused, whatever the entry.
    for (std::string_view address : {std::string_view("--version"), std::string_view("-"),
                                     std::string_view(""), std::string_view("http://a\0b", 10)}) {
        EXPECT_THROW(browserCommandFor(address, {"BROWSER=b %s"}, only({"/bin/b"})), Failure);
        EXPECT_THROW(browserCommandFor(address, {}, only({"/bin/xdg-open"})), Failure);
    }
    EXPECT_THAT(browserCommandFor(" -x", {}, only({"/bin/xdg-open"})).argv,
                ElementsAre("xdg-open", " -x"));
    EXPECT_THROW(browserCommandFor(kAddress, {"BROWSER=b:/opt/b"}, only({})), Failure);
}

// A stand-in browser: writes its process facts, "--" and its arguments,
// NUL-separated so that any byte but NUL survives, then lives 30 seconds.
constexpr const char* kRecorder = R"sh(#!/bin/sh
r="$(dirname "$0")/record"
printf '%s\0' "$$" "$PPID" "$(cut -d' ' -f6 /proc/$$/stat)" "$(readlink /proc/$$/fd/0)" \
    "$(readlink /proc/$$/fd/1)" "$(readlink /proc/$$/fd/2)" "$GNOME_ACCESSIBILITY" -- "$@" >"$r.1"
mv "$r.1" "$r"
exec sleep 30
)sh";

// Sets an environment variable for one test.
struct Setting {
    Setting(const char* variable, const std::string& value) : name(variable) {
        if (const char* old = std::getenv(name)) {
            saved = old;
        }
        ::setenv(name, value.c_str(), 1);
    }
    ~Setting() { saved ? ::setenv(name, saved->c_str(), 1) : ::unsetenv(name); }
    const char* name;
    std::optional<std::string> saved;
};

bool hasChildren() {
    return !(::waitpid(-1, nullptr, WNOHANG) < 0 && errno == ECHILD);
}

void writeProgram(const fs::path& path, std::string_view text) {
    std::ofstream(path) << text;
    ASSERT_EQ(::chmod(path.c_str(), 0700), 0);
}

// The browser runs apart, in a session of its own without a terminal,
// outlives the call and leaves no child behind; it gets the address in UTF-8
// as one argument that no shell interprets.
TEST(LinuxBrowser, StartsTheBrowserApartWithTheAddressAsOneArgument) {
    test::ScratchFolder folder;
    const std::string recorder = folder / "recorder", trap = folder / "trap";
    writeProgram(recorder, kRecorder);
    writeProgram(folder / "plain", "");
    ::chmod((folder / "plain").c_str(), 0600);
    EXPECT_TRUE(isExecutableFile(recorder));
    EXPECT_FALSE(isExecutableFile(folder / "plain") || isExecutableFile(folder.path()));
    const Setting browser("BROWSER", "/nonexistent/b:" + recorder + " --new --url=%s");
    const Setting accessibility("GNOME_ACCESSIBILITY", "0");
    const std::string tail = " \"q\" 'q' ; $(touch " + trap + ") `touch " + trap + "` $HOME *?\\ |";
    LinuxBrowser().navigate(u"http://例.jp/😀" + std::u16string(tail.begin(), tail.end()) +
                            char16_t(0xD83D));
    EXPECT_FALSE(hasChildren());
    for (int i = 0; i < 500 && !fs::exists(folder / "record"); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    Words r;
    std::ifstream in(folder / "record", std::ios::binary);
    for (std::string item; std::getline(in, item, '\0');) {
        r.push_back(item);
    }
    ASSERT_EQ(r.size(), 10u);
    EXPECT_THAT(Words(r.begin() + 3, r.end()),
                ElementsAre("/dev/null", "/dev/null", "/dev/null", "1", "--", "--new",
                            "--url=http://例.jp/😀" + tail + "\xEF\xBF\xBD"));
    EXPECT_FALSE(fs::exists(trap));
    EXPECT_NE(r[1], std::to_string(::getpid()));
    EXPECT_NE(r[2], std::to_string(::getsid(0)));
    EXPECT_EQ(::kill(std::stoi(r[0]), SIGKILL), 0) << "the browser should still run";
}

TEST(LinuxBrowser, FailsWhenTheBrowserCannotStartOrTheAddressLooksLikeAnOption) {
    test::ScratchFolder folder;
    const Setting path("PATH", folder.path());  // no xdg-open to fall back on
    writeProgram(folder / "not-a-program", "this is no program\n");
    writeProgram(folder / "no-interpreter", "#!/nonexistent/interpreter\n");
    writeProgram(folder / "recorder", kRecorder);
    for (const char* name : {"missing", "not-a-program", "no-interpreter"}) {
        const Setting browser("BROWSER", folder / name);
        EXPECT_THROW(LinuxBrowser().navigate(u"http://host/a"), Failure) << name;
    }
    const Setting browser("BROWSER", folder / "recorder");
    EXPECT_THROW(LinuxBrowser().navigate(u"--headless"), Failure);
    EXPECT_THROW(LinuxBrowser().navigate(u""), Failure);
    EXPECT_FALSE(hasChildren());
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    EXPECT_FALSE(fs::exists(folder / "record"));
}

// The lock goes with its holder however it ends, not with a program it
// started; a link in its place is not followed.
TEST(InstanceLock, TheSecondCopySeesTheFirstUntilItIsGone) {
    test::ScratchFolder folder;
    const fs::path file = folder / "kazunavi.lock";
    std::optional<InstanceLock> first(std::in_place, file);
    EXPECT_FALSE(first->anotherRunning());
    InstanceLock second(file);
    EXPECT_TRUE(second.anotherRunning());
    EXPECT_TRUE(second.anotherRunning());
    EXPECT_FALSE(first->anotherRunning() || InstanceLock(folder / "o.lock").anotherRunning());
    pid_t child = 0;
    char* argv[] = {const_cast<char*>("sleep"), const_cast<char*>("30"), nullptr};
    ASSERT_EQ(::posix_spawnp(&child, "sleep", nullptr, nullptr, argv, environ), 0);
    first.reset();
    EXPECT_FALSE(second.anotherRunning());  // the waiting copy takes it
    EXPECT_TRUE(InstanceLock(file).anotherRunning());
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    if ((child = ::fork()) == 0) {
        InstanceLock lock(folder / "k.lock");
        while (lock.anotherRunning()) {  // the parent's look may hold it a moment
        }
        ::pause();
    }
    while (!InstanceLock(folder / "k.lock").anotherRunning()) {
        std::this_thread::yield();
    }
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    EXPECT_FALSE(InstanceLock(folder / "k.lock").anotherRunning());

    EXPECT_THROW(InstanceLock(folder / "missing" / "a.lock").anotherRunning(), Failure);
    fs::create_symlink(folder / "target", folder / "link");
    EXPECT_THROW(InstanceLock(folder / "link").anotherRunning(), Failure);
    EXPECT_FALSE(fs::exists(folder / "target"));
    EXPECT_THROW(InstanceLock(folder.path()).anotherRunning(), Failure);
}

TEST(InstanceLock, LivesInTheRuntimeFolderOrElseInTmp) {
    test::ScratchFolder runtime;
    const fs::path fallback = "/tmp/kazunavi-" + std::to_string(::getuid()) + ".lock";
    for (const std::string& folder : {runtime.path().string(), "relative"s, "/missing"s, ""s}) {
        const Setting setting("XDG_RUNTIME_DIR", folder);
        EXPECT_EQ(InstanceLock::defaultPath(),
                  folder == runtime.path().string() ? runtime / "kazunavi.lock" : fallback);
    }
    const Setting setting("XDG_RUNTIME_DIR", "");
    ::unsetenv("XDG_RUNTIME_DIR");
    EXPECT_EQ(InstanceLock::defaultPath(), fallback);
}

// Beside the program when it can be written or holds the list already; else
// $XDG_CONFIG_HOME/kazunavi, or ~/.config/kazunavi when that is unusable.
// Chosen once, so that reading and writing use one file.
TEST(ProgramFolder, BesideTheProgramOrInTheUsersConfigurationFolder) {
    test::ScratchFolder bin;
    int checks = 0;
    bool writable = true;
    ProgramFolderSetting setting{bin.path(), "/x", "/h", [&](const fs::path& folder) {
                                     ++checks;
                                     return writable && folder == bin.path();
                                 }};
    EXPECT_EQ(chooseProgramFolder(setting), bin.path());
    writable = false;
    LinuxProgramFolder chosenOnce(setting);
    EXPECT_EQ(chosenOnce.path(), "/x/kazunavi");
    for (const auto& xdg : {std::optional<std::string>(), std::optional<std::string>(""),
                            std::optional<std::string>("relative")}) {
        setting.xdgConfigHome = xdg;
        EXPECT_EQ(chooseProgramFolder(setting), "/h/.config/kazunavi");
    }
    std::ofstream(bin / "URL.ini") << "";
    EXPECT_EQ(chooseProgramFolder(setting), bin.path());
    EXPECT_EQ(chosenOnce.path(), "/x/kazunavi");
    setting.executableFolder.clear();  // the program's file cannot be found
    setting.home.reset();
    EXPECT_EQ(chooseProgramFolder(setting), "");
    EXPECT_EQ(checks, 5);

    // access() grants root every folder of a writable mount; /proc takes no
    // new files all the same. The probe file goes again.
    fs::remove(bin / "URL.ini");
    EXPECT_TRUE(canCreateFilesIn(bin.path()) && fs::is_empty(bin.path()));
    EXPECT_FALSE(canCreateFilesIn(bin / "missing") || canCreateFilesIn("/proc"));
    const auto self = ProgramFolderSetting::ofThisProcess();
    EXPECT_EQ(self.executableFolder, fs::read_symlink("/proc/self/exe").parent_path());
    EXPECT_TRUE(self.home && !self.home->empty());
}

// The low 32 bits of the milliseconds, computed without overflow.
TEST(MonotonicTicks, WrapsAfter32BitsOfMilliseconds) {
    EXPECT_EQ(ticksOf(timespec{1, 999'999'999}), 1999u);
    EXPECT_EQ(ticksOf(timespec{4'294'967, 296'000'000}), 0u);
    EXPECT_EQ(ticksOf(timespec{10'000'000'000, 5'000'000}), std::uint32_t(10'000'000'000'005ull));
    MonotonicTicks ticks;
    const std::uint32_t before = ticks.now();
    ticks.pause(30);
    EXPECT_GE(std::uint32_t(ticks.now() - before), 30u);
}

}  // namespace
}  // namespace kazunavi
