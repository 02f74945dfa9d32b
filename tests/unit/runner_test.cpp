// The scenario runner: failing scenarios are reported as failing, at the
// right line; the program is driven the way the scenario contract says.

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/failure.h"
#include "runner/interpreter.h"
#include "runner/program_files.h"
#include "runner/scenario_files.h"
#include "support/scratch_folder.h"

namespace kazunavi::scenario {
namespace {

// "Label4(3)" is a plain caption label; the tests give it procedures of their own.
constexpr const char* kProbe = "Label4(3)";

void expectFailure(const ScenarioResult& r, int line, const std::string& message) {
    EXPECT_FALSE(r.passed);
    EXPECT_EQ(r.line, line);
    EXPECT_EQ(r.message, message);
}

void expectFailureMentioning(const ScenarioResult& r, int line, const std::string& part) {
    EXPECT_FALSE(r.passed);
    EXPECT_EQ(r.line, line);
    EXPECT_NE(r.message.find(part), std::string::npos) << r.message;
}

void expectPass(const ScenarioResult& r) {
    EXPECT_TRUE(r.passed) << r.line << ": " << r.message;
}

struct FailingScenario {
    const char* text;
    int line;
    const char* message;
};

// Every way a scenario goes wrong ends it at its line, saying what was
// expected and what was found.
TEST(ScenarioRun, FailsAtTheLineWithWhatWasExpectedAndWhatWasFound) {
    const FailingScenario cases[] = {
        // Checks that do not hold; look-alike blanks are shown escaped.
        {"start\n\nexpect txtNo.Text \"1\"\nexpect running\n", 3,
         "expected txtNo.Text \"1\", found \"0\""},
        {"start\nexpect lblAuto.ForeColor 0x0000FE\n", 2,
         "expected lblAuto.ForeColor 0x0000FE, found 0x0000FF"},
        {"start\nset Text1.Text \"a\\u3000b\"\nexpect Text1.Text \"a b\"\n", 3,
         "expected Text1.Text \"a b\", found \"a\\u3000b\""},
        // User actions on elements a user cannot reach, or of the wrong kind.
        {"start\nset Pic1.Enabled false\ntype txtLimH \"5\"\n", 3,
         "txtLimH sits in Pic1, which is disabled"},
        {"start\ntype lblAuto \"x\"\n", 2, "type: expected a text box, found lblAuto, a label"},
        // Unknown names and values that do not fit.
        {"start\nclick NoSuchThing\n", 2, "unknown element NoSuchThing"},
        {"start\nset PickLen 40000\n", 2,
         "expected a number from -32768 to 32767 for PickLen, found 40000"},
        {"start\nexpect running now\n", 2, "expect: expected the end of the line, found now"},
        // Exactly one start, before anything but the platform; after the end
        // only checks, platform commands, time and restart.
        {"start\nstart\n", 2, "expected one start in a scenario, found a second"},
        {"", 1, "expected a start command, found none"},
        {"click txtNow\nstart\n", 1, "expected start before click, found the program not started"},
        {"start\nclick lblEXIT\nclick txtNow\n", 3,
         "expected a running program for click, found it ended"},
        // The about box's elements exist only while it is loaded.
        {"start\nexpect Form2.Label2.Enabled true\n", 2,
         "expected the about box Form2 to be loaded for Form2.Label2, found it not loaded"},
        // Files: plain names in the program folder, compared line by line.
        {"file \"../x\" none\nstart\n", 1,
         "expected a plain file name in the program folder, found \"../x\""},
        {"start\nfile \"f\" <<\na\nb\n>>\nexpect file \"f\" <<\na\nc\n>>\n", 6,
         R"(expected file "f" line 2 "c\r\n", found "b\r\n")"},
        {"start\nfile \"f\" <<\n>>\nexpect file \"f\" none\n", 4,
         R"(expected file "f" none, found a file of 0 bytes)"},
    };
    for (const FailingScenario& c : cases) {
        SCOPED_TRACE(c.text);
        expectFailure(runScenarioText(c.text), c.line, c.message);
    }
    // Checks of the platform alone may stand before the start; after the
    // end, checks, platform commands, time and restart may follow.
    expectPass(
        runScenarioText("expect clipboard none\nclipboard \"\"\nexpect clipboard \"\"\nexpect "
                        "browsed none\nstart\n"));
    expectPass(
        runScenarioText("start\nclick lblEXIT\nexpect ended\nwait 1000\nclipboard "
                        "\"x\"\nrestart\nexpect running\n"));
}

// The probe's click does what the platform shows: two navigations, a beep, a drag.
ApplicationHook noisyProbe() {
    return [](Application& app) {
        app.events().on(kProbe, Event::Click, [&app](int) {
            Services& s = app.services();
            s.browser.navigate(u"http://a/");
            s.browser.navigate(u"http://b/");
            s.beeper.beep();
            s.windowManager.startDrag(0x1000);
        });
    };
}

TEST(ScenarioRun, EverythingTheProgramDidMustBeCheckedOldestFirst) {
    expectFailureMentioning(runScenarioText("instance-running\nstart\nexpect ended\n"), 3,
                            "found unchecked message 48 \"Kazunavi Error_01");
    const std::string clicked = "start\nclick Label4(3)\n";
    expectFailureMentioning(runScenarioText(clicked, noisyProbe()), 2,
                            "found unchecked browsed \"http://a/\"");
    expectFailure(runScenarioText(clicked + "expect browsed \"http://b/\"\n", noisyProbe()), 3,
                  "expected browsed \"http://b/\", found browsed \"http://a/\"");
    const std::string browsed =
        clicked + "expect browsed \"http://a/\"\nexpect browsed \"http://b/\"\n";
    expectFailureMentioning(runScenarioText(browsed, noisyProbe()), 4, "found 1 unchecked beep");
    expectFailureMentioning(runScenarioText(browsed + "expect beep\n", noisyProbe()), 5,
                            "found unchecked a drag of 0x1000 (main)");
    expectPass(runScenarioText(browsed + "expect browsed none\nexpect beep\nexpect beep none\n"
                                         "expect drag\nexpect drag none\nexpect message none\n",
                               noisyProbe()));
}

TEST(ScenarioRun, FailureEscapingAProcedureIsACrash) {
    const ApplicationHook throwing = [](Application& app) {
        app.events().on(kProbe, Event::Click, [](int) { throw Failure("boom"); });
        app.events().on("Timer1", Event::Timer, [](int) { throw std::out_of_range("index 7"); });
    };
    expectFailure(runScenarioText("start\nclick Label4(3)\n", throwing), 2,
                  "unhandled failure in Label4_Click: boom");
    expectFailure(runScenarioText("start\ntick Timer1\n", throwing), 2,
                  "unhandled failure in Timer1_Timer: index 7");
    expectFailure(runScenarioText("start\nset Timer1.Enabled true\nwait 49\nwait 1\n", throwing), 4,
                  "unhandled failure in Timer1_Timer: index 7");
}

// Records the probe's events and the timers' ticks with the tick counter's reading.
struct Recorder {
    std::vector<std::string> log;
    ApplicationHook hook(std::uint32_t mouseDownPause) {
        return [this, mouseDownPause](Application& app) {
            auto record = [this, &app](std::string what) {
                log.push_back(what + "@" + std::to_string(app.services().ticks.now()));
            };
            for (Event e : {Event::MouseDown, Event::MouseUp, Event::Click, Event::MouseMove}) {
                app.events().on(kProbe, e, [record, e, mouseDownPause, &app](int button) {
                    if (e == Event::MouseDown && mouseDownPause > 0) {
                        app.services().ticks.pause(mouseDownPause);
                    }
                    record(std::string(eventName(e)) + std::to_string(button));
                });
            }
            for (const char* timer : {"Timer1", "Timer3"}) {
                app.events().on(timer, Event::Timer,
                                [record, timer](int) { record(std::string(timer)); });
            }
        };
    }
};

struct DrivingCase {
    const char* text;
    std::uint32_t mouseDownPause;  // how long the probe's MouseDown blocks
    std::vector<std::string> log;
};

TEST(ScenarioDriving, EventsAndTicksComeInTheOrderAndAtTheTimeTheContractSays) {
    const DrivingCase cases[] = {
        // click is MouseDown, MouseUp, Click; a disabled element gets none of
        // them; event runs one procedure with the button given.
        {"start\nclick Label4(3)\nset Label4(3).Enabled false\nclick Label4(3)\n"
         "hold Label4(3) 10\nset Label4(3).Enabled true\nevent Label4(3) MouseMove\n"
         "event Label4(3) MouseDown 2\nevent Label4(3) MouseUp\nevent Label4(3) Click\n",
         0,
         {"MouseDown1@0", "MouseUp1@0", "Click0@0", "MouseMove0@10", "MouseDown2@10", "MouseUp1@10",
          "Click0@10"}},
        // hold lets time pass between press and release: Timer3 (100 ms,
        // running from the start) ticks meanwhile, also across the wrap.
        {"clock 4294967200\nstart\nhold Label4(3) 300\n",
         0,
         {"MouseDown1@4294967200", "Timer3@4", "Timer3@104", "Timer3@204", "MouseUp1@204",
          "Click0@204"}},
        // A timer that fell due while a handler blocked ticks once when it ends.
        {"start\nset Timer3.Enabled false\nset Timer1.Interval 100\nset Timer1.Enabled true\n"
         "click Label4(3)\nwait 99\nwait 1\n",
         250,
         {"MouseDown1@250", "Timer1@250", "MouseUp1@250", "Click0@250", "Timer1@350"}},
        // Ticks at the same instant follow the timer table: Timer1 before
        // Timer3, though started later. A new interval for a running timer
        // starts from then.
        {"start\nset Timer1.Interval 50\nset Timer1.Enabled true\nwait 110\n"
         "set Timer1.Interval 30\nwait 40\n",
         0,
         {"Timer1@50", "Timer1@100", "Timer3@100", "Timer1@140"}},
    };
    for (const DrivingCase& c : cases) {
        SCOPED_TRACE(c.text);
        Recorder rec;
        expectPass(runScenarioText(c.text, rec.hook(c.mouseDownPause)));
        EXPECT_EQ(rec.log, c.log);
    }
}

TEST(ScenarioDriving, RestartRunsANewCopyOnTheSameDesktop) {
    int copies = 0;
    expectPass(runScenarioText(
        "clipboard \"kept\"\nstart\nset AutoOn false\ntype txtMemo \"x\"\nrestart\n"
        "expect AutoOn true\nexpect txtMemo.Text \"\"\nexpect clipboard \"kept\"\nexpect running\n",
        [&copies](Application&) { ++copies; }));
    EXPECT_EQ(copies, 2);
}

// Runs the commands of a script one by one on a desktop the test can look into.
void executeAll(Interpreter& interpreter, std::string_view text) {
    for (const auto& c : parseScript(text).commands) {
        interpreter.execute(c);
    }
}

TEST(ScenarioFiles, FilesAreCodePage932WithCrLf) {
    SimDesktop desktop;
    Interpreter interpreter(desktop);
    executeAll(interpreter, "file \"k.txt\" <<\nあ\nb\n>>\nfile \"ro.ini\" readonly\n");
    EXPECT_EQ(*readFileBytes(desktop.folder() / "k.txt"), "\x82\xA0\r\nb\r\n");
    // A generated keep list: the layout the program writes, none of it for 0.
    executeAll(interpreter, "keeplist \"URL.ini\" 2\nkeeplist \"empty.ini\" 0\n");
    EXPECT_EQ(
        *readFileBytes(desktop.folder() / "URL.ini"),
        "[KeepCount]\r\nCount=2\r\n[KeepURL]\r\nName0=entry 0\r\nURL0=http://example.org/0\r\n"
        "Name1=entry 1\r\nURL1=http://example.org/1\r\n");
    EXPECT_EQ(*readFileBytes(desktop.folder() / "empty.ini"), "[KeepCount]\r\nCount=0\r\n");
    EXPECT_TRUE(desktop.profile.readOnly.contains(desktop.folder() / "ro.ini") &&
                desktop.profile.readOnly.contains(desktop.folder()));
}

TEST(ScenarioCommandLine, PrintsEachResultAndTheTotals) {
    test::ScratchFolder folder;
    std::filesystem::create_directories(folder / "sub");
    std::ofstream(folder / "b.scn") << "start\n";
    std::ofstream(folder / "a.scn") << "start\nexpect AutoOn false\n";
    std::ofstream(folder / "sub" / "c.scn") << "start\nexpect running\n";
    std::ofstream(folder / "notes.txt") << "not a scenario\n";
    std::ostringstream out;
    std::ostringstream err;
    const int status = runScenarioCommandLine({folder.path().string()}, out, err);
    // Each name as this system writes it (a backslash on Windows).
    const auto at = [&](const char* name) {
        return (folder.path() / name).make_preferred().string();
    };
    EXPECT_EQ(out.str(), "FAIL " + at("a.scn") + ":2: expected AutoOn false, found true\nPASS " +
                             at("b.scn") + "\nPASS " + at("sub/c.scn") + "\n2 passed, 1 failed\n");
    EXPECT_EQ(status, 1);
    EXPECT_EQ(err.str(), "");

    std::ostringstream passing;
    EXPECT_EQ(runScenarioCommandLine({(folder / "b.scn").string(), (folder / "sub").string()},
                                     passing, err),
              0);
    EXPECT_EQ(passing.str(),
              "PASS " + at("b.scn") + "\nPASS " + at("sub/c.scn") + "\n2 passed, 0 failed\n");
}

}  // namespace
}  // namespace kazunavi::scenario
