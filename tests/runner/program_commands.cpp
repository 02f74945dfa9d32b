// Starting, restarting and closing the program, and setting its state directly.

#include "runner/interpreter.h"
#include "runner/properties.h"
#include "runner/scenario_failure.h"
#include "runner/variables.h"

namespace kazunavi::scenario {

void Interpreter::startCommand(CommandWords& words) {
    words.finish();
    if (app_) {
        throw ScenarioFailure("expected one start in a scenario, found a second");
    }
    startNewCopy();
}

void Interpreter::restartCommand(CommandWords& words) {
    words.finish();
    // The system closes the running copy through its unload path.
    if (!app_->ended()) {
        runGuarded("Form_Unload", [this] { app_->close("Form1"); });
    }
    app_.reset();
    // A timer the gone copy left with the clock would tick into freed memory.
    if (desktop_.clock.timerCount() != 0) {
        throw ScenarioFailure("expected no timer left of the closed copy, found " +
                              std::to_string(desktop_.clock.timerCount()));
    }
    startNewCopy();
}

void Interpreter::closeCommand(CommandWords& words) {
    const std::string name = words.word("Form1 or Form2");
    words.finish();
    if (name != "Form1" && name != "Form2") {
        throw ScenarioFailure("close: expected Form1 or Form2, found " + name);
    }
    runGuarded(name == "Form1" ? "Form_Unload" : "Form2's Form_Unload", [&] { app_->close(name); });
    deliverDueTicks();
}

void Interpreter::setCommand(CommandWords& words) {
    const std::string subject = words.word("NAME.PROP or a variable");
    const Token& token = words.token("the value");
    words.finish();
    if (subject.find('.') == std::string::npos) {
        writeVariable(app_->form1().v, subject,
                      valueFromToken(token, variableType(subject), subject));
        return;
    }
    const auto [name, property] = splitProperty(subject);
    const Target target = resolveTarget(*app_, name);
    writeProperty(target, property, valueFromToken(token, propertyType(target, property), subject));
}

}  // namespace kazunavi::scenario
