// The POSIX services, and the text conversions and title rules below them.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <pwd.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <thread>

#include "platform/common/browser_frames.h"
#include "platform/common/cp932.h"
#include "platform/common/utf8.h"
#include "platform/common/window_text.h"
#include "platform/failure.h"
#include "platform/linux/browser_command.h"
#include "platform/linux/browser_launcher.h"
#include "platform/linux/instance_lock.h"
#include "platform/linux/lookup_module.h"
#include "platform/linux/monotonic_ticks.h"
#include "platform/linux/program_folder.h"
#include "shell/model/number_text.h"
#include "support/scratch_folder.h"

namespace kazunavi {
namespace {

using Words = std::vector<std::string>;
namespace fs = std::filesystem;
using namespace std::literals;

Words asked;  // the paths the last command asked about

// The command for the address "u": program and arguments joined by '|'.
// Exactly the paths listed (each followed by ',') are executable.
std::string commandFor(const Words& environment, const std::string& executables,
                       std::string_view address = "u") {
    asked.clear();
    const BrowserCommand command = browserCommandFor(address, environment, [&](auto& path) {
        asked.push_back(path);
        return ("," + executables).find("," + path + ",") != std::string::npos;
    });
    std::string joined = command.program;
    for (std::size_t i = 1; i < command.argv.size(); ++i) {
        joined += "|" + command.argv[i];
    }
    return joined;
}

// The address never names the program; Chromium's relatives build their
// accessibility tree only when asked.
TEST(BrowserCommand, EntriesQuotesPercentSignsThePathAndWhatIsRefused) {
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {"nosuch:/o/b:fire -new:b", "/bin/fire,/usr/bin/b,", "/bin/fire|-new|u"},
        {"b", "/usr/bin/b,/bin/b,", "/usr/bin/b|u"},
        {"sub/b:b 'open:./c 'x'", "/usr/bin/sub/b,/usr/bin/b,./c,", "./c|x|u"},
        {R"('/o/My B'  "-p=a b"	it\'s "say \"hi\" \\" '' x'y'"z")", "/o/My B,",
         R"(/o/My B|-p=a b|it's|say "hi" \||xyz|u)"},
        {" b --url=%s [%s] 100%% %d % x%%s", "/bin/b,", "/bin/b|--url=u|[u]|100%|%d|%|x%s"},
        {"%s:b", "/bin/u,/bin/b,", "/bin/b|u"},
        {":: :nosuch", "/usr/bin/xdg-open,", "/usr/bin/xdg-open|u"},
        {"Chrome -- --app=%s", "/bin/Chrome,",
         "/bin/Chrome|--force-renderer-accessibility|--|--app=u"},
        {"b \"y:c x\\", "/bin/b,/bin/c,", "/bin/c|x\\|u"},
        {"d a\\b", "/bin/d,", "/bin/d|ab|u"},
        {"brave --force-renderer-accessibility", "/bin/brave,",
         "/bin/brave|--force-renderer-accessibility|u"},
        {"/chrome/fire", "/chrome/fire,", "/chrome/fire|u"}};
    for (const auto& [browser, executables, expected] : cases) {
        EXPECT_EQ(commandFor({"PATH=/usr/bin:/bin", "BROWSER="s + browser}, executables), expected);
    }
    EXPECT_EQ(commandFor({"BROWSER=b %s"}, "/bin/b,", "%s%%"), "/bin/b|%s%%");
    // An empty folder on the path is not the current one; the first setting of
    // a variable counts. Options, empty addresses and NULs are refused.
    EXPECT_EQ(commandFor({"PATH=:/a::/b/", "BROWSER=x"}, "/b/x,"), "/b/x|u");
    EXPECT_EQ(asked, (Words{"/a/x", "/b/x"}));
    EXPECT_EQ(
        commandFor({"PATH=/bin", "BROWSER=b", "BROWSER=c", "PATH=/usr/bin"}, "/bin/b,/usr/bin/c,"),
        "/bin/b|u");
    for (std::string_view address : {"--version"sv, "-"sv, ""sv, "http://a\0b"sv}) {
        EXPECT_THROW(commandFor({"BROWSER=b %s"}, "/bin/b,", address), Failure);
        EXPECT_THROW(commandFor({}, "/bin/xdg-open,", address), Failure);
    }
    EXPECT_EQ(commandFor({}, "/bin/xdg-open,", " -x"), "/bin/xdg-open| -x");
    EXPECT_THROW(commandFor({"BROWSER=b:/opt/b"}, ""), Failure);
}

// A stand-in browser: writes its process facts, "--" and its arguments,
// NUL-separated so that any byte but NUL survives, then lives 30 seconds.
constexpr const char* kRecorder = R"sh(#!/bin/sh
printf '%s\0' "$$" "$PPID" "$(cut -d' ' -f6 /proc/$$/stat)" "$(readlink /proc/$$/fd/0)" \
    "$(readlink /proc/$$/fd/1)" "$(readlink /proc/$$/fd/2)" "$GNOME_ACCESSIBILITY" \
    "$(grep -E 'Sig(Blk|Ign)' /proc/$$/status | tr -d '\n\t')" "$(ls -l /proc/$$/fd)" \
    -- "$@" >"$0.r"
mv "$0.r" "$0.record"
exec sleep 30
)sh";

// Sets an environment variable for one scope.
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

// Without reaping any: a zombie counts.
bool hasChildren() {
    siginfo_t info{};
    return !(::waitid(P_ALL, 0, &info, WEXITED | WNOHANG | WNOWAIT) < 0 && errno == ECHILD);
}

// In a session of its own without a terminal or a descriptor of this program,
// outliving the call and reaped when it ends; the address is one argument that
// no shell interprets.
TEST(LinuxBrowser, StartsTheBrowserApartWithTheAddressAsOneArgument) {
    test::ScratchFolder folder;
    const std::string run = folder / "run", trap = folder / "trap";
    for (const auto& [name, text] : {std::pair{"run", kRecorder}, {"bad", "no program\n"}}) {
        std::ofstream(folder / name) << text;
        ::chmod((folder / name).c_str(), 0700);
    }
    for (const char* name : {"missing", "bad"}) {
        const Setting path("PATH", folder.path()), browser("BROWSER", folder / name);
        EXPECT_THROW(LinuxBrowser().navigate(u"http://host/a"), Failure) << name;
    }
    const Setting accessibility("GNOME_ACCESSIBILITY", "0");
    const Setting browser("BROWSER", "/nonexistent/b:" + run + " --new --url=%s");
    EXPECT_THROW(LinuxBrowser().navigate(u"--headless"), Failure);
    EXPECT_THROW(LinuxBrowser().navigate(u""), Failure);
    const std::string tail = " \"q\" 'q' ; $(touch " + trap + ") `touch " + trap + "` $HOME *?\\ |";
    // Nothing of this program's signal state reaches the browser.
    sigset_t blocked, before;
    ::sigemptyset(&blocked);
    ::sigaddset(&blocked, SIGUSR2);
    ::pthread_sigmask(SIG_BLOCK, &blocked, &before);
    const auto hangUp = ::signal(SIGHUP, SIG_IGN);
    // Descriptors of this program that a careless start would hand on: the
    // lowest free one, and a pipe as standard input.
    const int marker = ::open((folder / "marker").c_str(), O_CREAT | O_WRONLY, 0600);
    int input[2];
    ASSERT_EQ(::pipe(input), 0);
    const int savedInput = ::dup(0);
    ::dup2(input[0], 0);
    LinuxBrowser().navigate(u"http://例.jp/😀" + std::u16string(tail.begin(), tail.end()) +
                            char16_t(0xD83D));
    ::dup2(savedInput, 0);
    for (int fd : {marker, savedInput, input[0], input[1]}) {
        ::close(fd);
    }
    ::signal(SIGHUP, hangUp);
    ::pthread_sigmask(SIG_SETMASK, &before, nullptr);
    for (int i = 0; i < 500 && !fs::exists(run + ".record"); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    Words r;
    std::ifstream in(run + ".record", std::ios::binary);
    for (std::string item; std::getline(in, item, '\0');) {
        r.push_back(item);
    }
    ASSERT_EQ(r.size(), 12u);
    EXPECT_EQ(Words(r.begin() + 3, r.begin() + 8),
              (Words{"/dev/null", "/dev/null", "/dev/null", "1",
                     "SigBlk:0000000000000000SigIgn:" + r[7].substr(30)}));
    // Of the signals ignored, only glibc's own two (32 and 33) may remain.
    EXPECT_EQ(std::stoull(r[7].substr(30), nullptr, 16) & 0x7FFFFFFF, 0u);
    EXPECT_EQ(Words(r.begin() + 9, r.end()),
              (Words{"--", "--new", "--url=http://例.jp/😀" + tail + "\xEF\xBF\xBD"}));
    EXPECT_EQ(r[8].find("marker"), std::string::npos) << r[8];
    EXPECT_FALSE(fs::exists(trap));
    EXPECT_NE(r[2], std::to_string(::getsid(0)));
    EXPECT_EQ(::kill(std::stoi(r[0]), SIGKILL), 0) << "the browser should still run";
    for (int i = 0; i < 500 && hasChildren(); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_FALSE(hasChildren());
    EXPECT_TRUE(isExecutableFile(run));
    EXPECT_FALSE(isExecutableFile(trap) || isExecutableFile(folder.path()));
}

// Not held by a program it started; a link in its place is not followed.
TEST(InstanceLock, TheSecondCopySeesTheFirstUntilItIsGone) {
    test::ScratchFolder folder;
    const fs::path file = folder / "kazunavi.lock";
    std::optional<InstanceLock> first(std::in_place, file);
    InstanceLock second(file);
    EXPECT_FALSE(first->anotherRunning());
    EXPECT_TRUE(second.anotherRunning() && second.anotherRunning());
    pid_t child = 0;
    char* argv[] = {const_cast<char*>("sleep"), const_cast<char*>("30"), nullptr};
    ASSERT_EQ(::posix_spawnp(&child, "sleep", nullptr, nullptr, argv, environ), 0);
    first.reset();
    EXPECT_FALSE(second.anotherRunning());  // the waiting copy takes it
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    fs::create_symlink(folder / "target", folder / "link");
    try {
        InstanceLock(folder / "link").anotherRunning();
        ADD_FAILURE() << "a link was followed";
    } catch (const Failure& e) {
        EXPECT_NE(std::string(e.what()).find("link: cannot open"), std::string::npos) << e.what();
    }
    EXPECT_FALSE(fs::exists(folder / "target"));
    std::ofstream(folder / "foreign.lock") << "";  // another user's file could block the start
    if (::chown((folder / "foreign.lock").c_str(), 1234, 1234) == 0) {
        EXPECT_THROW(InstanceLock(folder / "foreign.lock").anotherRunning(), Failure);
    }
    const Setting runtime("XDG_RUNTIME_DIR", "relative");
    EXPECT_EQ(InstanceLock::defaultPath(), "/tmp/kazunavi-" + std::to_string(::getuid()) + ".lock");
}

// A module is loaded by its path and makes its lookup; a missing file or a
// library without the entry gives none.
TEST(LookupModule, MakesTheModulesLookupOrNone) {
    const std::unique_ptr<WindowLookup> lookup = loadLookupModule(KAZUNAVI_LOOKUP_MODULE_DOUBLE);
    ASSERT_NE(lookup, nullptr);
    const std::vector<BrowserWindow> found = lookup->lookUp();
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].locationUrl, u"http://module/");
    EXPECT_EQ(loadLookupModule("/nonexistent/kazunavi-lookup.so"), nullptr);
    EXPECT_EQ(loadLookupModule("libm.so.6"), nullptr);
}

// Milliseconds that wrap at 32 bits, and a pause that lasts as long as asked.
TEST(MonotonicTicks, WrapAt32BitsAndPauseAsAsked) {
    EXPECT_EQ(ticksOf({4'294'967, 297'999'999}), 1u);
    MonotonicTicks ticks;
    const std::uint32_t before = ticks.now();
    ticks.pause(30);
    EXPECT_GE(ticks.now() - before, 30u);
}

// Files are really made: access() grants root every folder of a writable
// mount, but /proc takes none.
TEST(ProgramFolder, BesideTheProgramOrInTheUsersConfigurationFolder) {
    test::ScratchFolder bin;
    std::optional<Setting> config(std::in_place, "XDG_CONFIG_HOME", "/c");
    std::optional<Setting> home(std::in_place, "HOME", "");
    ProgramFolderSetting setting = ProgramFolderSetting::ofThisProcess();
    config.reset();
    home.reset();
    EXPECT_EQ(setting.executableFolder, fs::read_symlink("/proc/self/exe").parent_path());
    EXPECT_EQ(setting.xdgConfigHome, "/c");
    EXPECT_EQ(setting.home, ::getpwuid(::getuid())->pw_dir);  // the account's, for an empty $HOME
    {
        const Setting user("HOME", "/h");
        EXPECT_EQ(ProgramFolderSetting::ofThisProcess().home, "/h");
    }
    setting = {bin.path(), "/x", "/h", setting.canCreateFilesIn};
    EXPECT_EQ(chooseProgramFolder(setting), bin.path());
    EXPECT_TRUE(fs::is_empty(bin.path()));  // the probe is gone again
    EXPECT_FALSE(canCreateFilesIn(bin / "missing"));
    setting.executableFolder = "/proc";
    EXPECT_EQ(LinuxProgramFolder(setting).path(), "/x/kazunavi");
    setting.xdgConfigHome = "relative";
    EXPECT_EQ(chooseProgramFolder(setting), "/h/.config/kazunavi");
    setting = {bin.path(), "/x", "/h", [](auto&) { return false; }};
    std::ofstream(bin / "URL.ini") << "";
    LinuxProgramFolder readOnly(setting);  // the list is there already, and stays readable
    EXPECT_EQ(readOnly.path(), bin.path());
    EXPECT_EQ(readOnly.userFolder(), "/x/kazunavi");
    // A list moved to the configuration folder wins over the one left behind.
    setting.xdgConfigHome = (bin / "config").string();
    fs::create_directories(bin / "config" / "kazunavi");
    std::ofstream(bin / "config" / "kazunavi" / "URL.ini") << "";
    EXPECT_EQ(chooseProgramFolder(setting), bin / "config" / "kazunavi");
    EXPECT_EQ(LinuxProgramFolder(setting).userFolder(), std::nullopt);
}

// Malformed UTF-8 (an overlong NUL above all) never becomes a character.
TEST(TextConversions, CodePage932Utf8AndNumbers) {
    EXPECT_EQ(toCp932(u"日ｶ\u3000\\~"), "\x93\xFA\xB6\x81\x40\\~");
    EXPECT_EQ(fromCp932("\x93\xFA\xB6\x81\x40\\~"), u"日ｶ\u3000\\~");
    EXPECT_EQ(fromCp932("\x7F\x80\xA0\xA1\xDF\xE0"), u"\x7F\xDC80\xDCA0｡ﾟ\xDCE0");
    EXPECT_EQ(toCp932(u"\uFA2C\u2014\u00A5a\u0080\uFFFD\U0001F600\U0010FFFF\uD55C" +
                      std::u16string(1, u'\xD800') + u"z"),
              "\xFB\xF9\x81\x5C\x5C"
              "a??????z");
    EXPECT_EQ(fromCp932("a\x80z\x82\n\x93\xFA\x82"), u"a\xDC80z\xDC82\n日\xDC82");
    int characters = 0;  // any two bytes come back; a character of its code, not a second one
    for (int code = 0; code <= 0xFFFF; ++code) {
        const std::string bytes{char(code >> 8), char(code & 0xFF)};
        const std::u16string c = fromCp932(bytes);
        EXPECT_EQ(toCp932(c), bytes) << code;
        characters += c.size() == 1 && isCp932LeadByte(static_cast<unsigned char>(code >> 8));
    }
    EXPECT_EQ(characters, 9206);
    EXPECT_EQ(cp932PrefixLength("ab\x93\xFA", 4) * 1000 +
                  cp932PrefixLength("\xE0\x40\xFC\x40", 3) * 100 +
                  cp932PrefixLength("\x9F\x40\xB6", 1) * 10 + cp932PrefixLength("\xB6\x93", 9),
              4202u);
    EXPECT_EQ(narrowWindowText(u"日本 — x\U0001F600", 128) + narrowWindowText(u"ti", 2) +
                  narrowWindowText(u"ti", 1) + narrowWindowText(u"ti", 0) +
                  narrowWindowText(u"ti", -5) + narrowWindowText(u"\xDC81\x41", 9),
              u"日本 ― x?t?A");
    const std::u16string s = u"\U00010000待 ｒ \u00A9\uFFFF\u07FF\u0800\U0010FFFF";
    EXPECT_EQ(fromUtf8(toUtf8(s)), s);
    EXPECT_EQ(toUtf8(s.substr(2, 1) + char16_t(0xD800)), "\xE5\xBE\x85\xEF\xBF\xBD");
    EXPECT_EQ(fromUtf8("a\xC0\x80|\x81\x80\x80\x80|\xED\xA0\x80|\xF4\x90\x80\x80|\xE5\xBE|"
                       "\xE0\x80\x80"),
              u"a\uFFFD\uFFFD|\uFFFD\uFFFD\uFFFD\uFFFD|\uFFFD\uFFFD\uFFFD|\uFFFD\uFFFD\uFFFD\uFFFD|"
              u"\uFFFD\uFFFD|\uFFFD\uFFFD\uFFFD");
    EXPECT_EQ(number::toInt16(-32768) + number::toInt16(32767), -1);
    EXPECT_EQ(number::plainDecimal(-2.5) + number::plainDecimal(7e15), u"-2.57E+15");
    EXPECT_EQ(number::toDouble(u" +.5e1 ") + number::toDouble(u"5.") + number::toDouble(u"25E-2"),
              10.25);
    for (const char16_t* bad : {u"1e", u"e3", u".", u"1 2", u"0x10", u"1e999", u"-"}) {
        EXPECT_FALSE(number::isNumber(bad));
    }
}

// The suffix is counted in the narrow title; of several fitting frames only
// the one active frame is the window in front.
TEST(BrowserFrames, TheSuffixOfTheWindowTitleAndTheFrameInFront) {
    const std::u16string firefox = u" — Mozilla Firefox", kanji(60, u'語'), more(64, u'語');
    std::string suffixes;
    const std::pair<std::u16string, std::u16string> titles[] = {
        {u"Page" + firefox, u"Page"}, {u"Mozilla Firefox", u""},
        {u"F — \U0001F600", u"F"},    {u"", u""},
        {kanji + firefox, kanji},     {more + firefox, more},
        {u"Go" + firefox, u"Page"},   {u"Page", u"Page B"}};
    for (const auto& [window, page] : titles) {
        suffixes += std::to_string(titleSuffixLength(window, page, 128).value_or(-1)) + " ";
    }
    EXPECT_EQ(suffixes, "18 15 4 0 6 0 -1 -1 ");
    std::vector<FrameFacts> frames = {
        {u"A", 7, true}, {u"A", 8, false}, {u"B", 8, false}, {u"A", 8, false}, {u"", 0, true}};
    EXPECT_EQ(matchFrame(frames, 7, u"A"), 0u);
    EXPECT_EQ(matchFrame(frames, 8, u"B"), 2u);
    EXPECT_FALSE(matchFrame(frames, 8, u"A"));
    frames[3].active = true;
    EXPECT_EQ(matchFrame(frames, 8, u"A"), 3u);
    frames[1].active = true;
    EXPECT_FALSE(matchFrame(frames, 8, u"A") || matchFrame(frames, 8, u"a") ||
                 matchFrame(frames, 0, u"") || matchFrame({}, 8, u"A"));
    // A sight is believed when the next look sees the same.
    SecondLook look;
    std::string believed;
    const std::tuple<const char*, const char16_t*, const char16_t*> looks[] = {
        {":1/7", u"F", u""},  {":1/7", u"F", u""},  {":1/8", u"F", u""},
        {":1/8", u"F", u"P"}, {":1/8", u"G", u"P"}, {":1/8", u"G", u"P"}};
    for (const auto& [document, window, page] : looks) {
        believed += look.confirms(document, window, page) ? "y" : "n";
    }
    EXPECT_EQ(believed, "nynnny");
}

}  // namespace
}  // namespace kazunavi
