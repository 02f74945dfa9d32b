// The desktop's default web browser, started directly when $BROWSER names
// none: its desktop entry found and its command line read.

#include <gtest/gtest.h>

#include <fstream>

#include "platform/linux/browser_command.h"
#include "platform/linux/desktop_entry.h"
#include "support/scratch_folder.h"

namespace kazunavi {
namespace {

using Words = std::vector<std::string>;

TEST(DesktopEntry, TheExecLineOfTheEntryWithItsQuotesEscapesAndFieldCodes) {
    EXPECT_EQ(desktopEntryExec("[Desktop Action new]\nExec=x --new\n[Desktop Entry]\r\nName=B\r\n"
                               "Exec=/usr/bin/b %U\r\n[Other]\nExec=y\n"),
              "/usr/bin/b %U");
    EXPECT_EQ(desktopEntryExec("Exec=top\n[Desktop Entry]\nName=B\n"), std::nullopt);
    EXPECT_EQ(desktopEntryExec("[Desktop Entry]\nExec=b %u"), "b %u");
    const auto words = [](std::string_view exec) { return execWords(exec, "http://a/%u"); };
    EXPECT_EQ(words("b --url=%u %i %c %k x%%y\t%F"),
              (Words{"b", "--url=http://a/%u", "", "", "", "x%y", "http://a/%u"}));
    EXPECT_EQ(words(R"("/opt/My B" "a\\\\b \"q\" \\$x"\sc)"),
              (Words{"/opt/My B", R"(a\b "q" $x)", "c", "http://a/%u"}));
    EXPECT_EQ(words("b \"open"), std::nullopt);
}

TEST(DesktopEntry, TheDefaultBrowserIsStartedDirectlyWithWhatKeepNeeds) {
    test::ScratchFolder data;
    std::filesystem::create_directories(data / "user/applications");
    std::filesystem::create_directories(data / "system/applications");
    std::ofstream(data / "system/applications/chromium.desktop") << "x";
    std::ofstream(data / "user/applications/x.desktop") << "x";
    std::filesystem::create_directories(data / "later/applications");
    std::ofstream(data / "later/applications/y.desktop") << "x";
    const Words environment{
        "XDG_DATA_HOME=" + (data / "user").string(),
        "XDG_DATA_DIRS=" + (data / "system").string() + ":" + (data / "later").string() + "::",
        "PATH=/bin"};
    EXPECT_EQ(desktopFileOf("chromium.desktop", environment),
              data / "system/applications/chromium.desktop");
    EXPECT_EQ(desktopFileOf("x.desktop", environment), data / "user/applications/x.desktop");
    EXPECT_EQ(desktopFileOf("y.desktop", environment), data / "later/applications/y.desktop");
    EXPECT_EQ(desktopFileOf("../applications/x.desktop", environment), std::nullopt);
    std::filesystem::create_directories(data / "home/.local/share/applications");
    std::ofstream(data / "home/.local/share/applications/h.desktop") << "x";
    EXPECT_EQ(desktopFileOf("h.desktop", {"HOME=" + (data / "home").string(), "XDG_DATA_HOME="}),
              data / "home/.local/share/applications/h.desktop");  // an empty setting is none

    // xdg-mime names the default browser; its entry gives the command line.
    const auto xdgMime = [&](const std::string& script) {
        std::ofstream(data / "xdg-mime") << "#!/bin/sh\n" << script << "\n";
        std::filesystem::permissions(data / "xdg-mime", std::filesystem::perms::owner_all);
        return defaultBrowserExec(
            {"PATH=/nowhere:" + data.path().string(), "XDG_DATA_HOME=" + (data / "user").string()});
    };
    std::ofstream(data / "user/applications/b.desktop") << "[Desktop Entry]\nExec=b --new %u\n";
    EXPECT_EQ(xdgMime("[ \"$*\" = 'query default x-scheme-handler/http' ] && echo 'b.desktop;x'"),
              "b --new %u");
    for (const char* fails : {"echo b.desktop; exit 1", "echo none.desktop", "exec /bin/sleep 9"}) {
        EXPECT_EQ(xdgMime(fails), std::nullopt) << fails;
    }

    const auto commandFor = [&](std::optional<std::string> exec) {
        const BrowserCommand c = browserCommandFor(
            "http://a/", environment, [](const std::string& p) { return p != "/bin/gone"; },
            [&](const Words&) { return exec; });
        Words all{c.program};
        all.insert(all.end(), c.argv.begin(), c.argv.end());
        return all;
    };
    EXPECT_EQ(commandFor("chromium %U"),
              (Words{"/bin/chromium", "chromium", "--force-renderer-accessibility", "http://a/"}));
    EXPECT_EQ(
        commandFor("/usr/lib/fx/firefox-esr --new-window"),
        (Words{"/usr/lib/fx/firefox-esr", "/usr/lib/fx/firefox-esr", "--new-window", "http://a/"}));
    // Nothing set, nothing to run, or a program word made of the address: xdg-open.
    for (const auto& exec :
         {std::optional<std::string>(), {"gone %u"}, {"%u"}, {"b%u"}, {""}, {"\"open"}}) {
        EXPECT_EQ(commandFor(exec), (Words{"/bin/xdg-open", "xdg-open", "http://a/"}));
    }
}

}  // namespace
}  // namespace kazunavi
