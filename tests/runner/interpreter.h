#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/sim/sim_desktop.h"
#include "runner/command_words.h"
#include "runner/scenario_syntax.h"
#include "runner/targets.h"
#include "shell/application.h"

namespace kazunavi::scenario {

// Called with every new copy of the program before it starts; lets tests
// add event procedures of their own.
using ApplicationHook = std::function<void(Application&)>;

// Carries out the commands of one scenario on one simulated desktop. Every
// command that cannot be carried out and every check that does not hold
// throws ScenarioFailure.
class Interpreter {
  public:
    explicit Interpreter(SimDesktop& desktop, ApplicationHook onNewCopy = {});
    ~Interpreter();
    Interpreter(const Interpreter&) = delete;
    Interpreter& operator=(const Interpreter&) = delete;

    void execute(const CommandLine& command);
    // The checks at the end of a scenario: it started, and nothing the
    // program did (navigations, message boxes, beeps, window drags) is left
    // unchecked.
    void finish();

    // The running copy, null before start.
    Application* application() { return app_.get(); }

  private:
    // What a command needs of the program.
    enum class Needs { Nothing, Started, Running };
    using Handler = void (Interpreter::*)(CommandWords&);
    struct Command {
        std::string_view keyword;
        Needs needs;
        Handler handler;
    };
    static const Command* lookup(std::string_view keyword);

    // The simulated platform (platform_commands.cpp).
    void clipboardCommand(CommandWords& words);
    void browserCommand(CommandWords& words);
    void answerCommand(CommandWords& words);
    void instanceRunningCommand(CommandWords& words);
    void foregroundCommand(CommandWords& words);
    void windowCommand(CommandWords& words);
    void browserWindowCommand(CommandWords& words);
    void browserWindowsCommand(CommandWords& words);
    void clockCommand(CommandWords& words);
    void fileCommand(CommandWords& words);
    void keepListCommand(CommandWords& words);

    // The program's life (program_commands.cpp).
    void startCommand(CommandWords& words);
    void restartCommand(CommandWords& words);
    void closeCommand(CommandWords& words);
    void setCommand(CommandWords& words);

    // The user's actions and the passing of time (user_commands.cpp).
    void clickCommand(CommandWords& words);
    void holdCommand(CommandWords& words);
    void eventCommand(CommandWords& words);
    void typeCommand(CommandWords& words);
    void selectCommand(CommandWords& words);
    void chooseCommand(CommandWords& words);
    void tickCommand(CommandWords& words);
    void waitCommand(CommandWords& words);
    void pressAndRelease(const std::string& name, std::string_view command,
                         std::optional<std::uint64_t> holdMs);
    // The element a user action edits: it must be of the kind and reachable.
    Target editedElement(const std::string& name, std::string_view command,
                         bool (*fits)(const Element&), std::string_view kindWanted);

    // Checks (check_commands.cpp).
    void expectCommand(CommandWords& words);
    void expectProperty(const std::string& nameDotProperty, CommandWords& words);
    void expectVariable(const std::string& name, CommandWords& words);
    void expectBrowsed(CommandWords& words);
    void expectMessage(CommandWords& words);
    void expectBeep(CommandWords& words);
    void expectDrag(CommandWords& words);
    void expectClipboard(CommandWords& words);
    void expectFocus(CommandWords& words);
    void expectFile(CommandWords& words);
    void expectLife(bool ended, CommandWords& words);

    // Running the program.
    Application& app(std::string_view command);
    void requireStarted(std::string_view command) const;
    void startNewCopy();
    // Runs one event procedure, if the target has it; a failure escaping it
    // stops the scenario.
    void runProcedure(std::string_view target, Event event, int button);
    // runProcedure, then the ticks of timers that fell due while it blocked.
    void fire(std::string_view target, Event event, int button);
    void runGuarded(const std::string& procedure, const std::function<void()>& body);
    void deliverDueTicks();
    void passTime(std::uint64_t ms);

    SimDesktop& desktop_;
    ApplicationHook onNewCopy_;
    std::unique_ptr<Application> app_;
};

}  // namespace kazunavi::scenario
