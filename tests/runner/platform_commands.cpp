// The commands that set up the simulated platform; valid anywhere.

#include <limits>

#include "platform/common/cp932.h"
#include "runner/interpreter.h"
#include "runner/program_files.h"
#include "runner/scenario_failure.h"
#include "runner/value.h"

namespace kazunavi::scenario {

namespace {

WindowHandle handleWord(CommandWords& words) {
    const std::string word = words.word("a window handle");
    const auto handle = parseHandle(word);
    if (!handle) {
        throw ScenarioFailure(
            words.keyword() +
            ": expected a window handle (0 to 0xFFFFFFFF, main or about), found " + word);
    }
    return *handle;
}

}  // namespace

void Interpreter::clipboardCommand(CommandWords& words) {
    SimClipboard& clipboard = desktop_.clipboard;
    if (words.take("none")) {
        clipboard.content.reset();
        clipboard.locked = false;
    } else if (words.take("locked")) {
        clipboard.locked = true;
    } else {
        clipboard.content = words.string("the clipboard text, none or locked");
        clipboard.locked = false;
    }
    words.finish();
}

void Interpreter::browserCommand(CommandWords& words) {
    const std::string state = words.word("fails or works");
    if (state != "fails" && state != "works") {
        throw ScenarioFailure("browser: expected fails or works, found " + state);
    }
    words.finish();
    desktop_.browser.works = state == "works";
}

void Interpreter::answerCommand(CommandWords& words) {
    const auto answer = words.integer("the button number", std::numeric_limits<int>::min(),
                                      std::numeric_limits<int>::max());
    words.finish();
    desktop_.messageBox.answers.push_back(static_cast<int>(answer));
}

void Interpreter::instanceRunningCommand(CommandWords& words) {
    words.finish();
    desktop_.instanceCheck.running = true;
}

void Interpreter::foregroundCommand(CommandWords& words) {
    const WindowHandle handle = handleWord(words);
    words.finish();
    desktop_.windowManager.foreground = handle;
}

void Interpreter::windowCommand(CommandWords& words) {
    const WindowHandle handle = handleWord(words);
    std::u16string title = words.string("the window title");
    words.finish();
    desktop_.windowManager.titles[handle] = std::move(title);
}

void Interpreter::browserWindowCommand(CommandWords& words) {
    const WindowHandle handle = handleWord(words);
    std::u16string url = words.string("the address");
    words.finish();
    desktop_.browserWindows.windows.push_back(BrowserWindow{handle, std::move(url), std::nullopt});
}

void Interpreter::browserWindowsCommand(CommandWords& words) {
    const std::string state = words.word("none");
    if (state != "none") {
        throw ScenarioFailure("browserwindows: expected none, found " + state);
    }
    words.finish();
    desktop_.browserWindows.windows.clear();
}

void Interpreter::clockCommand(CommandWords& words) {
    const auto reading =
        words.integer("the tick count", 0, std::numeric_limits<std::uint32_t>::max());
    words.finish();
    desktop_.clock.setReading(static_cast<std::uint32_t>(reading));
}

void Interpreter::fileCommand(CommandWords& words) {
    const std::filesystem::path file =
        programFile(desktop_.folder(), words.string("the file name"));
    if (words.take("none")) {
        words.finish();
        std::error_code error;
        std::filesystem::remove(file, error);
        if (error) {
            throw ScenarioFailure("file: cannot remove " + file.string() + ": " + error.message());
        }
    } else if (words.take("readonly")) {
        words.finish();
        desktop_.profile.readOnly.insert(file);
        desktop_.profile.readOnly.insert(desktop_.folder());
    } else {
        const std::vector<std::string>& lines = words.block();
        words.finish();
        writeFileBytes(file, toCp932(withLineEnds(lines)));
    }
}

// Set-up of a long keep list without spelling out its entries.
void Interpreter::keepListCommand(CommandWords& words) {
    const std::filesystem::path file =
        programFile(desktop_.folder(), words.string("the file name"));
    // The largest count the program's 16-bit count can load.
    const auto count = static_cast<int>(words.integer("the number of entries", 0, 32767));
    words.finish();
    writeFileBytes(file, toCp932(withLineEnds(keepListLines(count))));
}

}  // namespace kazunavi::scenario
