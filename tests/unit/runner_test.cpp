// The scenario runner: failing scenarios are reported as failing, at the
// right line; the program is driven the way the scenario contract says.

#include <gtest/gtest.h>

#include <deque>
#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/failure.h"
#include "runner/interpreter.h"
#include "runner/scenario_failure.h"
#include "runner/scenario_files.h"
#include "unit/scratch_folder.h"

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

TEST(ScenarioRun, PassesWhenEveryCheckHolds) {
    const ScenarioResult r = runScenarioText("start\nexpect running\nexpect txtNo.Text \"0\"\n");
    EXPECT_TRUE(r.passed) << r.line << ": " << r.message;
}

TEST(ScenarioRun, WrongExpectFailsAtItsLine) {
    expectFailure(runScenarioText("start\n\nexpect txtNo.Text \"1\"\nexpect running\n"), 3,
                  "expected txtNo.Text \"1\", found \"0\"");
    expectFailure(runScenarioText("start\nexpect AutoOn false\n"), 2,
                  "expected AutoOn false, found true");
    expectFailure(runScenarioText("start\nexpect lblAuto.ForeColor 0x0000FE\n"), 2,
                  "expected lblAuto.ForeColor 0x0000FE, found 0x0000FF");
    expectFailure(runScenarioText("start\nexpect ended\n"), 2,
                  "expected ended, found the program running");
}

TEST(ScenarioRun, MessagesShowLookAlikeBlanksEscaped) {
    expectFailure(
        runScenarioText("start\nset Text1.Text \"a\\u3000b\"\nexpect Text1.Text \"a b\"\n"), 3,
        "expected Text1.Text \"a b\", found \"a\\u3000b\"");
}

TEST(ScenarioRun, UncheckedMessageBoxFailsAtTheEnd) {
    const std::string story = "instance-running\nstart\nexpect ended\n";
    expectFailureMentioning(runScenarioText(story), 3,
                            "found unchecked message 48 \"Kazunavi Error_01");
    const ScenarioResult checked =
        runScenarioText(story +
                        "expect message 48 \"Kazunavi Error_01 [二重起動の防止]\" "
                        "\"このアプリケーションはすでに開かれています。\\r\\n重複起動の防止のため、"
                        "起動をキャンセルします。\"\n"
                        "# the end\n");
    EXPECT_TRUE(checked.passed) << checked.line << ": " << checked.message;
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

TEST(ScenarioRun, EverythingTheProgramDidMustBeChecked) {
    const std::string clicked = "start\nclick Label4(3)\n";
    expectFailureMentioning(runScenarioText(clicked, noisyProbe()), 2,
                            "found unchecked browsed \"http://a/\"");
    expectFailureMentioning(
        runScenarioText(clicked + "expect browsed \"http://a/\"\nexpect browsed \"http://b/\"\n",
                        noisyProbe()),
        4, "found 1 unchecked beep");
    expectFailureMentioning(
        runScenarioText(
            clicked + "expect browsed \"http://a/\"\nexpect browsed \"http://b/\"\nexpect beep\n",
            noisyProbe()),
        5, "found unchecked a drag of 0x1000 (main)");
    const ScenarioResult all = runScenarioText(
        clicked +
            "expect browsed \"http://a/\"\nexpect browsed \"http://b/\"\nexpect browsed none\n"
            "expect beep\nexpect beep none\nexpect drag\nexpect drag none\nexpect message none\n",
        noisyProbe());
    EXPECT_TRUE(all.passed) << all.line << ": " << all.message;
}

TEST(ScenarioRun, ChecksConsumeTheOldestItem) {
    expectFailure(
        runScenarioText("start\nclick Label4(3)\nexpect browsed \"http://b/\"\n", noisyProbe()), 3,
        "expected browsed \"http://b/\", found browsed \"http://a/\"");
    expectFailure(runScenarioText("start\nexpect browsed \"http://a/\"\n"), 2,
                  "expected browsed \"http://a/\", found no navigation");
    expectFailure(runScenarioText("start\nexpect beep\n"), 2, "expected a beep, found none");
}

TEST(ScenarioRun, UserActionsOnDisabledElementsFail) {
    expectFailure(runScenarioText("start\ntype txtNo \"5\"\n"), 2, "txtNo is disabled");
    expectFailure(runScenarioText("start\nselect txtNo 0 0\n"), 2, "txtNo is disabled");
    expectFailure(runScenarioText("start\nset List1.Enabled false\nchoose List1 -1\n"), 3,
                  "List1 is disabled");
    // A box inside a disabled panel cannot be reached either.
    expectFailure(runScenarioText("start\nset Pic1.Enabled false\ntype txtLimH \"5\"\n"), 3,
                  "txtLimH sits in Pic1, which is disabled");
    expectFailure(runScenarioText("start\nset txtMemo.Visible false\ntype txtMemo \"5\"\n"), 3,
                  "txtMemo is not visible");
}

TEST(ScenarioRun, UserActionsNeedTheRightKindOfElement) {
    expectFailure(runScenarioText("start\ntype lblAuto \"x\"\n"), 2,
                  "type: expected a text box, found lblAuto, a label");
    expectFailure(runScenarioText("start\nchoose txtNow 0\n"), 2,
                  "choose: expected a list, found txtNow, a text box");
    expectFailure(runScenarioText("start\nchoose List1 0\n"), 2,
                  "choose: expected an item 0 in List1, found ListCount 0");
    expectFailure(runScenarioText("start\ntype txtNow \"abc\"\nselect txtNow 2 2\n"), 3,
                  "select: expected a selection within the 3 characters of txtNow, found 2 to 4");
    expectFailure(runScenarioText("start\nclick Cup\n"), 2,
                  "click: expected an element or a window, found the timer Cup");
    expectFailure(runScenarioText("start\ntick txtNow\n"), 2,
                  "tick: expected a timer, found txtNow");
}

TEST(ScenarioRun, UnknownNamesFailAtTheirLine) {
    expectFailure(runScenarioText("start\nclick NoSuchThing\n"), 2, "unknown element NoSuchThing");
    expectFailure(runScenarioText("start\n\nexpect txtNow.Colour 1\n"), 3,
                  "unknown property Colour of the element txtNow");
    expectFailure(runScenarioText("start\nexpect Cup.Caption \"\"\n"), 2,
                  "unknown property Caption of the timer Cup");
    expectFailure(runScenarioText("start\nset Speed 1\n"), 2, "unknown variable Speed");
    expectFailure(runScenarioText("start\njump\n"), 2, "unknown command jump");
    expectFailure(runScenarioText("start\nexpect Label4(9).Caption \"\"\n"), 2,
                  "unknown element Label4(9)");
    expectFailure(runScenarioText("start\nexpect PickLen \"3\"\n"), 2,
                  "expected a number for PickLen, found \"3\"");
    expectFailure(runScenarioText("start\nset PickLen 40000\n"), 2,
                  "expected a number from -32768 to 32767 for PickLen, found 40000");
    expectFailure(runScenarioText("start\nexpect running now\n"), 2,
                  "expect: expected the end of the line, found now");
}

TEST(ScenarioRun, ExactlyOneStart) {
    expectFailure(runScenarioText("start\nstart\n"), 2,
                  "expected one start in a scenario, found a second");
    expectFailure(runScenarioText("clipboard none\n"), 1, "expected a start command, found none");
    expectFailure(runScenarioText(""), 1, "expected a start command, found none");
    expectFailure(runScenarioText("click txtNow\nstart\n"), 1,
                  "expected start before click, found the program not started");
    expectFailure(runScenarioText("expect AutoOn true\nstart\n"), 1,
                  "expected start before expect AutoOn, found the program not started");
    // Checks of the platform alone may stand before the start.
    const ScenarioResult r = runScenarioText("expect clipboard none\nexpect browsed none\nstart\n");
    EXPECT_TRUE(r.passed) << r.message;
}

TEST(ScenarioRun, SyntaxErrorsFailAtTheirLine) {
    expectFailure(runScenarioText("start\nclipboard \"open\n"), 2,
                  "a string is not closed by a double quote");
    expectFailure(runScenarioText("start\nexpect file \"a\" <<\nx\n"), 2,
                  "the block opened here has no line holding only >>");
    expectFailure(runScenarioText("start <<\n>>\n"), 1,
                  "start: expected no block, found one opened by <<");
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

TEST(ScenarioRun, OnlyChecksPlatformCommandsTimeAndRestartFollowTheEnd) {
    expectFailure(runScenarioText("start\nclick lblEXIT\nclick txtNow\n"), 3,
                  "expected a running program for click, found it ended");
    expectFailure(runScenarioText("start\nclick lblEXIT\nset AutoOn false\n"), 3,
                  "expected a running program for set, found it ended");
    const ScenarioResult r = runScenarioText(
        "start\nclick lblEXIT\nexpect ended\nwait 1000\nclipboard \"x\"\nrestart\nexpect "
        "running\n");
    EXPECT_TRUE(r.passed) << r.line << ": " << r.message;
}

TEST(ScenarioRun, AboutBoxElementsNeedTheAboutBox) {
    expectFailure(
        runScenarioText("start\nexpect Form2.Label2.Enabled true\n"), 2,
        "expected the about box Form2 to be loaded for Form2.Label2, found it not loaded");
    expectFailure(runScenarioText("start\nclick Form2\n"), 2,
                  "click: expected the about box Form2 to be loaded, found it not loaded");
    const ApplicationHook opensAbout = [](Application& app) {
        app.events().on(kProbe, Event::Click, [&app](int) { app.showForm2(); });
    };
    const ScenarioResult r = runScenarioText(
        "start\nexpect Form2.Visible false\nclick Label4(3)\nexpect Form2.Visible true\n"
        "expect Form2.Label2.Enabled true\nexpect Form2.Label1(0).Visible true\nclose Form2\n"
        "expect Form2.Visible false\n",
        opensAbout);
    EXPECT_TRUE(r.passed) << r.line << ": " << r.message;
}

// Records the probe's events and the timers' ticks with the tick counter's reading.
struct Recorder {
    std::vector<std::string> log;
    ApplicationHook hook(std::uint32_t mouseDownPause = 0) {
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

TEST(ScenarioDriving, ClickRunsMouseDownMouseUpClick) {
    Recorder rec;
    const ScenarioResult r = runScenarioText(
        "start\nclick Label4(3)\nset Label4(3).Enabled false\nclick Label4(3)\nhold Label4(3) 10\n"
        "set Label4(3).Enabled true\nevent Label4(3) MouseMove\nevent Label4(3) MouseDown 2\n"
        "event Label4(3) MouseUp\nevent Label4(3) Click\n",
        rec.hook());
    ASSERT_TRUE(r.passed) << r.line << ": " << r.message;
    EXPECT_EQ(rec.log,
              (std::vector<std::string>{"MouseDown1@0", "MouseUp1@0", "Click0@0", "MouseMove0@10",
                                        "MouseDown2@10", "MouseUp1@10", "Click0@10"}));
}

TEST(ScenarioDriving, HoldLetsTimePassBetweenPressAndRelease) {
    Recorder rec;
    const ScenarioResult r = runScenarioText("clock 1000\nstart\nhold Label4(3) 300\n", rec.hook());
    ASSERT_TRUE(r.passed) << r.line << ": " << r.message;
    // Timer3 (100 ms, running from the start) ticks while the button is held.
    EXPECT_EQ(rec.log, (std::vector<std::string>{"MouseDown1@1000", "Timer3@1100", "Timer3@1200",
                                                 "Timer3@1300", "MouseUp1@1300", "Click0@1300"}));
}

TEST(ScenarioDriving, TimerThatFellDueWhileAHandlerBlockedTicksOnceWhenItEnds) {
    Recorder rec;
    const ScenarioResult r = runScenarioText(
        "start\nset Timer3.Enabled false\nset Timer1.Interval 100\nset Timer1.Enabled true\n"
        "click Label4(3)\nwait 99\nwait 1\n",
        rec.hook(250));
    ASSERT_TRUE(r.passed) << r.line << ": " << r.message;
    EXPECT_EQ(rec.log, (std::vector<std::string>{"MouseDown1@250", "Timer1@250", "MouseUp1@250",
                                                 "Click0@250", "Timer1@350"}));
}

TEST(ScenarioDriving, TicksAtTheSameInstantFollowTheTimerTable) {
    Recorder rec;
    // Timer1 comes before Timer3 in the table, though it was started later.
    const ScenarioResult r = runScenarioText(
        "start\nset Timer1.Interval 50\nset Timer1.Enabled true\nwait 100\n", rec.hook());
    ASSERT_TRUE(r.passed) << r.line << ": " << r.message;
    EXPECT_EQ(rec.log, (std::vector<std::string>{"Timer1@50", "Timer1@100", "Timer3@100"}));
}

TEST(ScenarioDriving, TickRunsTheProcedureWithoutTimePassing) {
    Recorder rec;
    const ScenarioResult r = runScenarioText(
        "start\nset Timer3.Enabled false\ntick Timer3 2\ntick Timer1\nexpect Timer1.Enabled "
        "false\n",
        rec.hook());
    ASSERT_TRUE(r.passed) << r.line << ": " << r.message;
    EXPECT_EQ(rec.log, (std::vector<std::string>{"Timer3@0", "Timer3@0", "Timer1@0"}));
}

TEST(ScenarioDriving, RestartRunsANewCopyOnTheSameDesktop) {
    int copies = 0;
    const ScenarioResult r = runScenarioText(
        "clipboard \"kept\"\nstart\nset AutoOn false\ntype txtMemo \"x\"\nrestart\n"
        "expect AutoOn true\nexpect txtMemo.Text \"\"\nexpect clipboard \"kept\"\nexpect running\n",
        [&copies](Application&) { ++copies; });
    ASSERT_TRUE(r.passed) << r.line << ": " << r.message;
    EXPECT_EQ(copies, 2);
}

TEST(ScenarioFiles, FileCommandStoresCodePage932WithCrLf) {
    SimDesktop desktop;
    Interpreter interpreter(desktop);
    const Script s = parseScript("file \"k.txt\" <<\nあ\nb\n>>\nfile \"ro.ini\" readonly\n");
    for (const auto& c : s.commands) {
        interpreter.execute(c);
    }
    std::ifstream in(desktop.folder() / "k.txt", std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    EXPECT_EQ(bytes, "\x82\xA0\r\nb\r\n");
    EXPECT_TRUE(desktop.profile.readOnly.contains(desktop.folder() / "ro.ini"));
    EXPECT_TRUE(desktop.profile.readOnly.contains(desktop.folder()));
}

TEST(ScenarioFiles, FileNamesStayInTheProgramFolder) {
    expectFailure(runScenarioText("file \"../x\" none\nstart\n"), 1,
                  "expected a plain file name in the program folder, found \"../x\"");
    expectFailure(runScenarioText("start\nexpect file \"/etc/passwd\" none\n"), 2,
                  "expected a plain file name in the program folder, found \"/etc/passwd\"");
}

TEST(ScenarioFiles, ExpectFileNamesTheFirstDifferingLine) {
    SimDesktop desktop;
    Interpreter interpreter(desktop);
    {
        std::ofstream out(desktop.folder() / "lf.txt", std::ios::binary);
        out << "a\nb\n";
    }
    const Script s = parseScript("start\nexpect file \"lf.txt\" <<\na\nb\n>>\n");
    interpreter.execute(s.commands[0]);
    try {
        interpreter.execute(s.commands[1]);
        FAIL() << "a file with LF line ends passed";
    } catch (const ScenarioFailure& e) {
        EXPECT_EQ(std::string(e.what()), R"(expected file "lf.txt" line 1 "a\r\n", found "a\n")");
    }
    expectFailure(
        runScenarioText("start\nfile \"f\" <<\na\nb\n>>\nexpect file \"f\" <<\na\nc\n>>\n"), 6,
        R"(expected file "f" line 2 "c\r\n", found "b\r\n")");
    expectFailure(runScenarioText("start\nfile \"f\" <<\na\n>>\nexpect file \"f\" <<\na\nb\n>>\n"),
                  5, R"(expected file "f" line 2 "b\r\n", found the end of the file)");
    expectFailure(runScenarioText("start\nexpect file \"f\" <<\n>>\n"), 2,
                  R"(expected file "f", found no such file)");
    expectFailure(runScenarioText("start\nfile \"f\" <<\n>>\nexpect file \"f\" none\n"), 4,
                  R"(expected file "f" none, found a file of 0 bytes)");
}

TEST(ScenarioPlatform, SetUpCommandsReachTheSimulatedDesktop) {
    SimDesktop desktop;
    Interpreter interpreter(desktop);
    const Script s = parseScript(
        "clipboard locked\nbrowser fails\nanswer 2\nanswer 7\ninstance-running\nforeground about\n"
        "window main \"タイトル\"\nbrowserwindow 0x3000 \"http://a/\"\nbrowserwindow 12289 "
        "\"http://b/\"\n"
        "clock 4294967295\n");
    for (const auto& c : s.commands) {
        interpreter.execute(c);
    }
    EXPECT_TRUE(desktop.clipboard.locked);
    EXPECT_FALSE(desktop.browser.works);
    EXPECT_EQ(desktop.messageBox.answers, (std::deque<int>{2, 7}));
    EXPECT_TRUE(desktop.instanceCheck.running);
    EXPECT_EQ(desktop.windowManager.foreground, 0x2000u);
    EXPECT_EQ(desktop.windowManager.titles.at(0x1000), u"タイトル");
    ASSERT_EQ(desktop.browserWindows.windows.size(), 2u);
    EXPECT_EQ(desktop.browserWindows.windows[1].handle, 0x3001u);
    EXPECT_EQ(desktop.browserWindows.windows[1].locationUrl, u"http://b/");
    EXPECT_EQ(desktop.clock.now(), 4294967295u);

    interpreter.execute(parseScript("clipboard \"t\"\n").commands[0]);
    EXPECT_FALSE(desktop.clipboard.locked);  // until the next clipboard command
    EXPECT_EQ(desktop.clipboard.content, u"t");
    interpreter.execute(parseScript("browserwindows none\n").commands[0]);
    EXPECT_TRUE(desktop.browserWindows.windows.empty());

    expectFailure(
        runScenarioText("foreground -1\nstart\n"), 1,
        "foreground: expected a window handle (0 to 0xFFFFFFFF, main or about), found -1");
    expectFailure(runScenarioText("clock 4294967296\nstart\n"), 1,
                  "clock: expected the tick count from 0 to 4294967295, found 4294967296");
    expectFailure(runScenarioText("browser broken\nstart\n"), 1,
                  "browser: expected fails or works, found broken");
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
    const std::string dir = folder.path().string();
    EXPECT_EQ(out.str(), "FAIL " + dir +
                             "/a.scn:2: expected AutoOn false, found true\n"
                             "PASS " +
                             dir +
                             "/b.scn\n"
                             "PASS " +
                             dir +
                             "/sub/c.scn\n"
                             "2 passed, 1 failed\n");
    EXPECT_EQ(status, 1);
    EXPECT_EQ(err.str(), "");

    std::ostringstream passing;
    EXPECT_EQ(runScenarioCommandLine({(folder / "b.scn").string(), (folder / "sub").string()},
                                     passing, err),
              0);
    EXPECT_EQ(passing.str(),
              "PASS " + dir + "/b.scn\nPASS " + dir + "/sub/c.scn\n2 passed, 0 failed\n");
}

TEST(ScenarioCommandLine, UsageErrors) {
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(runScenarioCommandLine({}, out, err), 2);
    EXPECT_NE(err.str().find("usage: scenario-runner FILE_OR_DIR..."), std::string::npos);
    std::ostringstream out2;
    std::ostringstream err2;
    EXPECT_EQ(runScenarioCommandLine({"/no/such/scenario.scn"}, out2, err2), 2);
    EXPECT_EQ(out2.str(), "");
    EXPECT_EQ(err2.str(), "scenario-runner: no such file or folder: /no/such/scenario.scn\n");
}

}  // namespace
}  // namespace kazunavi::scenario
