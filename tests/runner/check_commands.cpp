// The checks, and the checks at the end of every scenario.

#include <algorithm>
#include <limits>

#include "platform/common/cp932.h"
#include "runner/interpreter.h"
#include "runner/program_files.h"
#include "runner/properties.h"
#include "runner/scenario_failure.h"
#include "runner/value_text.h"
#include "runner/variables.h"

namespace kazunavi::scenario {

namespace {

std::string describeMessage(const ShownMessage& m) {
    return "message " + std::to_string(m.style) + " " + quoteText(m.title) + " " +
           quoteText(m.prompt);
}

std::string describeDrag(WindowHandle window) {
    return "a drag of " + describe(handleValue(window));
}

// The line (from 1) that holds position at, and that line with its end.
struct LineAt {
    std::size_t number;
    std::u16string text;
};

LineAt lineAt(const std::u16string& content, std::size_t at) {
    std::size_t from = 0;
    std::size_t number = 1;
    for (std::size_t i = 0; i < at; ++i) {
        if (content[i] == u'\n') {
            from = i + 1;
            ++number;
        }
    }
    const std::size_t end = content.find(u'\n', from);
    return {number, content.substr(from, end == std::u16string::npos ? end : end + 1 - from)};
}

// Where two file contents part: the first line that differs, with its line end.
std::string fileDifference(const std::u16string& expected, const std::u16string& found) {
    std::size_t at = 0;
    while (at < expected.size() && at < found.size() && expected[at] == found[at]) {
        ++at;
    }
    const LineAt want = lineAt(expected, std::min(at, expected.size()));
    const LineAt have = lineAt(found, std::min(at, found.size()));
    auto shown = [](const LineAt& line) {
        return line.text.empty() ? std::string("the end of the file") : quoteText(line.text);
    };
    return "line " + std::to_string(want.number) + " " + shown(want) + ", found " + shown(have);
}

}  // namespace

void Interpreter::expectCommand(CommandWords& words) {
    const std::string what = words.word("what to check");
    if (what == "browsed") {
        expectBrowsed(words);
    } else if (what == "message") {
        expectMessage(words);
    } else if (what == "beep") {
        expectBeep(words);
    } else if (what == "drag") {
        expectDrag(words);
    } else if (what == "clipboard") {
        expectClipboard(words);
    } else if (what == "file") {
        expectFile(words);
    } else if (what == "focus") {
        requireStarted("expect focus");
        expectFocus(words);
    } else if (what == "ended" || what == "running") {
        requireStarted("expect " + what);
        expectLife(what == "ended", words);
    } else if (what.find('.') != std::string::npos) {
        requireStarted("expect " + what);
        expectProperty(what, words);
    } else {
        requireStarted("expect " + what);
        expectVariable(what, words);
    }
}

void Interpreter::expectProperty(const std::string& nameDotProperty, CommandWords& words) {
    const auto [name, property] = splitProperty(nameDotProperty);
    const Token& token = words.token("the expected value");
    words.finish();
    const Target target = resolveTarget(*app_, name);
    const Value expected = valueFromToken(token, propertyType(target, property), nameDotProperty);
    const Value found = readProperty(target, property);
    if (found != expected) {
        throw ScenarioFailure("expected " + nameDotProperty + " " + describe(expected) +
                              ", found " + describe(found));
    }
}

void Interpreter::expectVariable(const std::string& name, CommandWords& words) {
    const ValueType type = variableType(name);
    const Token& token = words.token("the expected value");
    words.finish();
    const Value expected = valueFromToken(token, type, name);
    const Value found = readVariable(app_->form1().v, name);
    if (found != expected) {
        throw ScenarioFailure("expected " + name + " " + describe(expected) + ", found " +
                              describe(found));
    }
}

void Interpreter::expectBrowsed(CommandWords& words) {
    auto& navigations = desktop_.browser.navigations;
    if (words.take("none")) {
        words.finish();
        if (!navigations.empty()) {
            throw ScenarioFailure("expected browsed none, found browsed " +
                                  quoteText(navigations.front()));
        }
        return;
    }
    const std::u16string address = words.string("the address or none");
    words.finish();
    if (navigations.empty()) {
        throw ScenarioFailure("expected browsed " + quoteText(address) + ", found no navigation");
    }
    const std::u16string found = navigations.front();
    navigations.pop_front();
    if (found != address) {
        throw ScenarioFailure("expected browsed " + quoteText(address) + ", found browsed " +
                              quoteText(found));
    }
}

void Interpreter::expectMessage(CommandWords& words) {
    auto& shown = desktop_.messageBox.shown;
    if (words.take("none")) {
        words.finish();
        if (!shown.empty()) {
            throw ScenarioFailure("expected message none, found " + describeMessage(shown.front()));
        }
        return;
    }
    ShownMessage expected;
    expected.style = static_cast<int>(words.integer("the style", std::numeric_limits<int>::min(),
                                                    std::numeric_limits<int>::max()));
    expected.title = words.string("the title");
    expected.prompt = words.string("the prompt");
    words.finish();
    if (shown.empty()) {
        throw ScenarioFailure("expected " + describeMessage(expected) + ", found no message box");
    }
    const ShownMessage found = shown.front();
    shown.pop_front();
    if (found.style != expected.style || found.title != expected.title ||
        found.prompt != expected.prompt) {
        throw ScenarioFailure("expected " + describeMessage(expected) + ", found " +
                              describeMessage(found));
    }
}

void Interpreter::expectBeep(CommandWords& words) {
    int& beeps = desktop_.beeper.beeps;
    if (words.take("none")) {
        words.finish();
        if (beeps != 0) {
            throw ScenarioFailure("expected beep none, found " + std::to_string(beeps) +
                                  " unchecked beep(s)");
        }
        return;
    }
    words.finish();
    if (beeps == 0) {
        throw ScenarioFailure("expected a beep, found none");
    }
    --beeps;
}

void Interpreter::expectDrag(CommandWords& words) {
    auto& drags = desktop_.windowManager.drags;
    if (words.take("none")) {
        words.finish();
        if (!drags.empty()) {
            throw ScenarioFailure("expected drag none, found " + describeDrag(drags.front()));
        }
        return;
    }
    words.finish();
    if (drags.empty()) {
        throw ScenarioFailure("expected a drag, found none");
    }
    drags.pop_front();
}

void Interpreter::expectClipboard(CommandWords& words) {
    const auto& content = desktop_.clipboard.content;
    const auto found = content ? quoteText(*content) : std::string("no text");
    if (words.take("none")) {
        words.finish();
        if (content) {
            throw ScenarioFailure("expected clipboard none, found " + found);
        }
        return;
    }
    const std::u16string text = words.string("the clipboard text or none");
    words.finish();
    if (content != text) {
        throw ScenarioFailure("expected clipboard " + quoteText(text) + ", found " + found);
    }
}

void Interpreter::expectFocus(CommandWords& words) {
    const std::string name = words.word("an element name");
    words.finish();
    const Target t = resolveElement(*app_, name, "expect focus");
    const std::string& focused = t.window->focused();
    if (focused != t.element->name()) {
        throw ScenarioFailure(
            "expected focus " + name + ", found " +
            (focused.empty() ? std::string("no element focused") : "focus " + focused));
    }
}

void Interpreter::expectFile(CommandWords& words) {
    const std::u16string name = words.string("the file name");
    const std::filesystem::path file = programFile(desktop_.folder(), name);
    if (words.take("none")) {
        words.finish();
        if (const auto bytes = readFileBytes(file)) {
            throw ScenarioFailure("expected file " + quoteText(name) + " none, found a file of " +
                                  std::to_string(bytes->size()) + " bytes");
        }
        return;
    }
    const std::u16string expected = withLineEnds(words.block());
    words.finish();
    const auto bytes = readFileBytes(file);
    if (!bytes) {
        throw ScenarioFailure("expected file " + quoteText(name) + ", found no such file");
    }
    const std::u16string found = fromCp932(*bytes);
    if (found != expected) {
        throw ScenarioFailure("expected file " + quoteText(name) + " " +
                              fileDifference(expected, found));
    }
}

void Interpreter::expectLife(bool ended, CommandWords& words) {
    words.finish();
    // Ended means the platform was told too, not only the program's own flag.
    if (app_->ended() != ended || desktop_.programExit.ended != ended) {
        throw ScenarioFailure(ended ? "expected ended, found the program running"
                                    : "expected running, found the program ended");
    }
}

void Interpreter::finish() {
    if (!app_) {
        throw ScenarioFailure("expected a start command, found none");
    }
    if (!desktop_.browser.navigations.empty()) {
        throw ScenarioFailure("expected every navigation checked, found unchecked browsed " +
                              quoteText(desktop_.browser.navigations.front()));
    }
    if (!desktop_.messageBox.shown.empty()) {
        throw ScenarioFailure("expected every message box checked, found unchecked " +
                              describeMessage(desktop_.messageBox.shown.front()));
    }
    if (desktop_.beeper.beeps != 0) {
        throw ScenarioFailure("expected every beep checked, found " +
                              std::to_string(desktop_.beeper.beeps) + " unchecked beep(s)");
    }
    if (!desktop_.windowManager.drags.empty()) {
        throw ScenarioFailure("expected every window drag checked, found unchecked " +
                              describeDrag(desktop_.windowManager.drags.front()));
    }
}

}  // namespace kazunavi::scenario
