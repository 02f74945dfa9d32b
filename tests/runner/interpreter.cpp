#include "runner/interpreter.h"

#include "runner/scenario_failure.h"
#include "runner/targets.h"

namespace kazunavi::scenario {

Interpreter::Interpreter(SimDesktop& desktop, ApplicationHook onNewCopy)
    : desktop_(desktop), onNewCopy_(std::move(onNewCopy)) {}

Interpreter::~Interpreter() = default;

const Interpreter::Command* Interpreter::lookup(std::string_view keyword) {
    using I = Interpreter;
    static const Command kCommands[] = {
        {"clipboard", Needs::Nothing, &I::clipboardCommand},
        {"browser", Needs::Nothing, &I::browserCommand},
        {"answer", Needs::Nothing, &I::answerCommand},
        {"instance-running", Needs::Nothing, &I::instanceRunningCommand},
        {"foreground", Needs::Nothing, &I::foregroundCommand},
        {"window", Needs::Nothing, &I::windowCommand},
        {"browserwindow", Needs::Nothing, &I::browserWindowCommand},
        {"browserwindows", Needs::Nothing, &I::browserWindowsCommand},
        {"clock", Needs::Nothing, &I::clockCommand},
        {"file", Needs::Nothing, &I::fileCommand},
        {"keeplist", Needs::Nothing, &I::keepListCommand},
        {"start", Needs::Nothing, &I::startCommand},
        {"restart", Needs::Started, &I::restartCommand},
        {"click", Needs::Running, &I::clickCommand},
        {"hold", Needs::Running, &I::holdCommand},
        {"event", Needs::Running, &I::eventCommand},
        {"type", Needs::Running, &I::typeCommand},
        {"select", Needs::Running, &I::selectCommand},
        {"choose", Needs::Running, &I::chooseCommand},
        {"tick", Needs::Running, &I::tickCommand},
        // Time passes for an ended program too: nothing of it runs any more.
        {"wait", Needs::Started, &I::waitCommand},
        {"close", Needs::Running, &I::closeCommand},
        {"set", Needs::Running, &I::setCommand},
        // Each check says itself whether it needs the program.
        {"expect", Needs::Nothing, &I::expectCommand},
    };
    for (const Command& c : kCommands) {
        if (c.keyword == keyword) {
            return &c;
        }
    }
    return nullptr;
}

void Interpreter::execute(const CommandLine& command) {
    CommandWords words(command);
    const Command* c = lookup(words.keyword());
    if (c == nullptr) {
        throw ScenarioFailure("unknown command " + words.keyword());
    }
    if (c->needs != Needs::Nothing) {
        requireStarted(c->keyword);
    }
    if (c->needs == Needs::Running && app_->ended()) {
        throw ScenarioFailure("expected a running program for " + std::string(c->keyword) +
                              ", found it ended");
    }
    (this->*(c->handler))(words);
}

void Interpreter::requireStarted(std::string_view command) const {
    if (!app_) {
        throw ScenarioFailure("expected start before " + std::string(command) +
                              ", found the program not started");
    }
}

Application& Interpreter::app(std::string_view command) {
    requireStarted(command);
    return *app_;
}

void Interpreter::startNewCopy() {
    desktop_.programExit.ended = false;
    app_ = std::make_unique<Application>(desktop_.services());
    if (onNewCopy_) {
        onNewCopy_(*app_);
    }
    runGuarded("Form3_Load", [this] { app_->start(); });
    deliverDueTicks();
}

void Interpreter::runGuarded(const std::string& procedure, const std::function<void()>& body) {
    try {
        body();
    } catch (const ScenarioFailure&) {
        throw;
    } catch (const std::exception& e) {
        throw ScenarioFailure("unhandled failure in " + procedure + ": " + e.what());
    } catch (...) {
        throw ScenarioFailure("unhandled failure in " + procedure + ": not a standard exception");
    }
}

void Interpreter::runProcedure(std::string_view target, Event event, int button) {
    runGuarded(procedureName(target, event), [&] { app_->run(target, event, button); });
}

void Interpreter::fire(std::string_view target, Event event, int button) {
    runProcedure(target, event, button);
    deliverDueTicks();
}

void Interpreter::deliverDueTicks() {
    passTime(0);
}

void Interpreter::passTime(std::uint64_t ms) {
    desktop_.clock.advance(ms, [this](Timer& timer) {
        if (app_) {
            runProcedure(timer.name(), Event::Timer, 0);
        }
    });
}

}  // namespace kazunavi::scenario
