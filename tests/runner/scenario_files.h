#pragma once

#include <filesystem>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "runner/interpreter.h"

namespace kazunavi::scenario {

struct ScenarioResult {
    bool passed = false;
    int line = 0;         // where it failed
    std::string message;  // what was expected, what was found
};

// Runs one scenario on a fresh simulated desktop with a fresh program folder.
ScenarioResult runScenarioText(std::string_view source, const ApplicationHook& onNewCopy = {});
ScenarioResult runScenarioFile(const std::filesystem::path& file,
                               const ApplicationHook& onNewCopy = {});

// The files the arguments name: files as given, folders as every .scn file
// below them, sorted by path. Fails (std::runtime_error) on a missing path.
std::vector<std::filesystem::path> scenarioFiles(
    const std::vector<std::filesystem::path>& arguments);

// The path as printed: its bytes on Linux, UTF-8 on Windows.
std::string shownPath(const std::filesystem::path& path);

// The runner's command line: runs every scenario, prints "PASS path" or
// "FAIL path:line: message" for each and "N passed, N failed" at the end.
// Returns 0 when none failed, 1 when some failed, 2 on a usage error.
// The arguments are paths as the system gives them (wide on Windows).
int runScenarioCommandLine(const std::vector<std::filesystem::path>& arguments, std::ostream& out,
                           std::ostream& err);

}  // namespace kazunavi::scenario
