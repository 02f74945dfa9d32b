#include "platform/linux/browser_command.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>
#include <initializer_list>
#include <set>

#include "platform/failure.h"
#include "support/scratch_folder.h"

namespace kazunavi {
namespace {

using ::testing::ElementsAre;

constexpr std::string_view kAddress = "http://host/p01.jpg";

// A file system in which exactly the listed paths are executable; it also
// records every path it was asked about.
struct FakeFiles {
    explicit FakeFiles(std::initializer_list<std::string> paths = {}) : executables(paths) {}

    std::set<std::string> executables;
    std::vector<std::string> asked;

    ExecutableProbe probe() {
        return [this](const std::string& path) {
            asked.push_back(path);
            return executables.count(path) > 0;
        };
    }
};

std::vector<std::string> environmentWith(std::string_view browser) {
    return {"HOME=/home/u", "PATH=/usr/bin:/bin", "BROWSER=" + std::string(browser)};
}

TEST(BrowserCommand, TakesTheFirstEntryWhoseProgramIsFound) {
    FakeFiles files{"/bin/firefox", "/usr/bin/epiphany"};
    const BrowserCommand command = browserCommandFor(
        kAddress, environmentWith("nosuch:/opt/gone/b:firefox -new-window:epiphany"),
        files.probe());
    EXPECT_EQ(command.program, "/bin/firefox");
    EXPECT_THAT(command.argv, ElementsAre("firefox", "-new-window", kAddress));
}

TEST(BrowserCommand, LooksUpNamesOnThePathInOrderAndPathsDirectly) {
    FakeFiles files{"/usr/bin/b", "/bin/b", "./local/b", "/usr/bin/c"};
    EXPECT_EQ(browserCommandFor(kAddress, environmentWith("b"), files.probe()).program,
              "/usr/bin/b");
    EXPECT_EQ(browserCommandFor(kAddress, environmentWith("./local/b"), files.probe()).program,
              "./local/b");
    // Without PATH the system's default path is searched.
    EXPECT_EQ(browserCommandFor(kAddress, {"BROWSER=c"}, files.probe()).program, "/usr/bin/c");
    // The first setting of a variable counts.
    EXPECT_EQ(browserCommandFor(kAddress, {"PATH=/bin", "BROWSER=b", "BROWSER=c", "PATH=/usr/bin"},
                                files.probe())
                  .program,
              "/bin/b");
    // A word with a slash is never searched on the path.
    FakeFiles onlyOnPath{"/usr/bin/b"};
    EXPECT_THROW(browserCommandFor(kAddress, environmentWith("sub/b"), onlyOnPath.probe()),
                 Failure);
}

TEST(BrowserCommand, EmptyPathFoldersAreNotTheCurrentFolder) {
    FakeFiles files{"/b/firefox"};
    const BrowserCommand command =
        browserCommandFor(kAddress, {"PATH=:/a::/b/", "BROWSER=firefox"}, files.probe());
    EXPECT_EQ(command.program, "/b/firefox");
    EXPECT_THAT(files.asked, ElementsAre("/a/firefox", "/b/firefox"));
}

TEST(BrowserCommand, PercentSigns) {
    FakeFiles files{"/usr/bin/b"};
    const auto argv = [&files](std::string_view address, std::string_view entry) {
        return browserCommandFor(address, environmentWith(entry), files.probe()).argv;
    };
    // Every %s takes the address in place, and the address is then not appended again.
    EXPECT_THAT(argv(kAddress, "b --url=%s --late"),
                ElementsAre("b", "--url=http://host/p01.jpg", "--late"));
    EXPECT_THAT(argv(kAddress, "b %s [%s]"), ElementsAre("b", kAddress, "[http://host/p01.jpg]"));
    // %% is one percent sign, also before an s; other percent signs stay.
    EXPECT_THAT(argv(kAddress, "b 100%% %d %"), ElementsAre("b", "100%", "%d", "%", kAddress));
    EXPECT_THAT(argv(kAddress, "b x%%s"), ElementsAre("b", "x%s", kAddress));
    // Percent signs in the address are not expanded.
    const std::string address = "http://host/%s/%%/a%20b";
    EXPECT_THAT(argv(address, "b --go %s"), ElementsAre("b", "--go", address));
}

TEST(BrowserCommand, TheAddressNeverChoosesTheProgram) {
    // The address "rm" names a program on the path; the entry still may not run it.
    FakeFiles files{"/usr/bin/rm", "/usr/bin/b"};
    const BrowserCommand command = browserCommandFor("rm", environmentWith("%s:b"), files.probe());
    EXPECT_EQ(command.program, "/usr/bin/b");
    EXPECT_THAT(command.argv, ElementsAre("b", "rm"));
}

TEST(BrowserCommand, QuotedWordsKeepTheirBlanks) {
    FakeFiles files{"/opt/My Browser/run"};
    const BrowserCommand command = browserCommandFor(
        kAddress,
        environmentWith(
            R"('/opt/My Browser/run'  "--profile=a b"	it\'s "say \"hi\" \\" '' x'y'"z")"),
        files.probe());
    EXPECT_EQ(command.program, "/opt/My Browser/run");
    EXPECT_THAT(command.argv, ElementsAre("/opt/My Browser/run", "--profile=a b", "it's",
                                          R"(say "hi" \)", "", "xyz", kAddress));
}

TEST(BrowserCommand, AnEntryWithAnOpenQuoteIsSkipped) {
    FakeFiles files{"/usr/bin/b", "/usr/bin/c"};
    EXPECT_THAT(
        browserCommandFor(kAddress, environmentWith("b 'open:c 'closed'"), files.probe()).argv,
        ElementsAre("c", "closed", kAddress));
}

TEST(BrowserCommand, FallsBackToXdgOpen) {
    FakeFiles files{"/usr/bin/xdg-open"};
    for (const std::vector<std::string>& environment :
         {environmentWith(""), environmentWith(":: :"), environmentWith("nosuch"),
          std::vector<std::string>{"PATH=/usr/bin"}}) {
        const BrowserCommand command = browserCommandFor(kAddress, environment, files.probe());
        EXPECT_EQ(command.program, "/usr/bin/xdg-open");
        EXPECT_THAT(command.argv, ElementsAre("xdg-open", kAddress));
    }
}

TEST(BrowserCommand, FailsWhenNoProgramIsFound) {
    FakeFiles nothing;
    EXPECT_THROW(browserCommandFor(kAddress, environmentWith("nosuch:/opt/b"), nothing.probe()),
                 Failure);
    EXPECT_THROW(browserCommandFor(kAddress, {"PATH=/usr/bin"}, nothing.probe()), Failure);
}

TEST(BrowserCommand, RefusesAddressesThatCannotBeSentAsOneArgument) {
    FakeFiles files{"/usr/bin/b", "/usr/bin/xdg-open"};
    for (std::string_view address :
         {std::string_view("-incognito"), std::string_view("--version"), std::string_view("-"),
          std::string_view(""), std::string_view("http://a\0b", 10)}) {
        EXPECT_THROW(browserCommandFor(address, environmentWith("b --url=%s"), files.probe()),
                     Failure)
            << address;
        EXPECT_THROW(browserCommandFor(address, environmentWith(""), files.probe()), Failure)
            << address;
    }
    // The dash only matters at the very start.
    EXPECT_THAT(browserCommandFor(" -x", environmentWith("b"), files.probe()).argv,
                ElementsAre("b", " -x"));
    EXPECT_THAT(browserCommandFor("a-b", environmentWith("b"), files.probe()).argv,
                ElementsAre("b", "a-b"));
}

TEST(BrowserCommand, AsksChromiumRelativesForTheirAccessibilityTree) {
    for (std::string_view name : {"chromium", "google-chrome-stable", "brave-browser", "Vivaldi",
                                  "opera", "microsoft-edge"}) {
        FakeFiles files{"/usr/bin/" + std::string(name)};
        EXPECT_THAT(
            browserCommandFor(kAddress, environmentWith(std::string(name) + " --new-window"),
                              files.probe())
                .argv,
            ElementsAre(name, "--force-renderer-accessibility", "--new-window", kAddress))
            << name;
    }
    FakeFiles files{"/usr/bin/chromium", "/opt/chrome/firefox"};
    // Right after the program, before an end of options and before the address.
    EXPECT_THAT(
        browserCommandFor(kAddress, environmentWith("chromium -- --app=%s"), files.probe()).argv,
        ElementsAre("chromium", "--force-renderer-accessibility", "--",
                    "--app=http://host/p01.jpg"));
    // Not twice.
    EXPECT_THAT(
        browserCommandFor(kAddress, environmentWith("chromium --force-renderer-accessibility"),
                          files.probe())
            .argv,
        ElementsAre("chromium", "--force-renderer-accessibility", kAddress));
    // Only the program's own name counts, not its folder.
    EXPECT_THAT(
        browserCommandFor(kAddress, environmentWith("/opt/chrome/firefox"), files.probe()).argv,
        ElementsAre("/opt/chrome/firefox", kAddress));
}

TEST(BrowserCommand, TheChildEnvironmentAsksForAccessibility) {
    FakeFiles files{"/usr/bin/b", "/usr/bin/xdg-open"};
    const std::vector<std::string> environment = {"A=1",           "GNOME_ACCESSIBILITY=0",
                                                  "PATH=/usr/bin", "GNOME_ACCESSIBILITY_X=5",
                                                  "BROWSER=b",     "GNOME_ACCESSIBILITY="};
    EXPECT_THAT(browserCommandFor(kAddress, environment, files.probe()).envp,
                ElementsAre("A=1", "PATH=/usr/bin", "GNOME_ACCESSIBILITY_X=5", "BROWSER=b",
                            "GNOME_ACCESSIBILITY=1"));
    EXPECT_THAT(browserCommandFor(kAddress, {"PATH=/usr/bin"}, files.probe()).envp,
                ElementsAre("PATH=/usr/bin", "GNOME_ACCESSIBILITY=1"));
}

TEST(ExecutableFile, OnlyExecutableRegularFilesCount) {
    test::ScratchFolder folder;
    const std::string plain = folder / "plain";
    const std::string program = folder / "program";
    std::ofstream(plain) << "x";
    std::ofstream(program) << "x";
    ASSERT_EQ(::chmod(program.c_str(), 0700), 0);
    EXPECT_TRUE(isExecutableFile(program));
    EXPECT_FALSE(isExecutableFile(plain));
    EXPECT_FALSE(isExecutableFile(folder.path().string()));
    EXPECT_FALSE(isExecutableFile(folder / "missing"));
}

}  // namespace
}  // namespace kazunavi
