#include "runner/scenario_files.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "runner/scenario_failure.h"

namespace kazunavi::scenario {

ScenarioResult runScenarioText(std::string_view source, const ApplicationHook& onNewCopy) {
    Script script;
    try {
        script = parseScript(source);
    } catch (const SyntaxError& e) {
        return {false, e.line(), e.what()};
    }
    SimDesktop desktop;
    Interpreter interpreter(desktop, onNewCopy);
    int line = script.lastLine;
    try {
        for (const CommandLine& command : script.commands) {
            line = command.line;
            interpreter.execute(command);
        }
        line = script.lastLine;
        interpreter.finish();
    } catch (const ScenarioFailure& e) {
        return {false, line, e.what()};
    } catch (const std::exception& e) {
        // A fault of the runner or the simulation itself, not of the program.
        return {false, line, std::string("the runner could not carry this out: ") + e.what()};
    }
    return {true, 0, {}};
}

ScenarioResult runScenarioFile(const std::filesystem::path& file,
                               const ApplicationHook& onNewCopy) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        return {false, 1, "expected a readable scenario file, found it unreadable"};
    }
    const std::string source{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    return runScenarioText(source, onNewCopy);
}

std::string shownPath(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return {text.begin(), text.end()};
}

std::vector<std::filesystem::path> scenarioFiles(
    const std::vector<std::filesystem::path>& arguments) {
    std::vector<std::filesystem::path> files;
    for (const std::filesystem::path& path : arguments) {
        std::error_code error;
        if (std::filesystem::is_directory(path, error)) {
            std::vector<std::filesystem::path> found;
            for (const auto& entry : std::filesystem::recursive_directory_iterator(path)) {
                if (entry.is_regular_file() && entry.path().extension() == ".scn") {
                    found.push_back(entry.path());
                }
            }
            std::sort(found.begin(), found.end());
            files.insert(files.end(), found.begin(), found.end());
        } else if (std::filesystem::exists(path, error)) {
            files.push_back(path);
        } else {
            throw std::runtime_error("no such file or folder: " + shownPath(path));
        }
    }
    return files;
}

int runScenarioCommandLine(const std::vector<std::filesystem::path>& arguments, std::ostream& out,
                           std::ostream& err) {
    if (arguments.empty()) {
        err << "usage: scenario-runner FILE_OR_DIR...\n"
               "Runs the .scn scenario files named, and every .scn file below the folders named.\n";
        return 2;
    }
    std::vector<std::filesystem::path> files;
    try {
        files = scenarioFiles(arguments);
    } catch (const std::exception& e) {
        err << "scenario-runner: " << e.what() << '\n';
        return 2;
    }
    int passed = 0;
    int failed = 0;
    for (const auto& file : files) {
        const ScenarioResult result = runScenarioFile(file);
        if (result.passed) {
            ++passed;
            out << "PASS " << shownPath(file) << '\n';
        } else {
            ++failed;
            out << "FAIL " << shownPath(file) << ':' << result.line << ": " << result.message
                << '\n';
        }
    }
    out << passed << " passed, " << failed << " failed\n";
    out.flush();
    return failed == 0 ? 0 : 1;
}

}  // namespace kazunavi::scenario
