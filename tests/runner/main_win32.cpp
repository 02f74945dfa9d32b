// The runner on Windows: the command line read as wide text, so that paths
// beyond the system's ANSI code page arrive whole.

#include <windows.h>
// After windows.h, on which it builds.
#include <shellapi.h>

#include <filesystem>
#include <iostream>
#include <memory>
#include <vector>

#include "runner/scenario_files.h"

int main() {
    int count = 0;
    const std::unique_ptr<wchar_t*, decltype(&::LocalFree)> words(
        ::CommandLineToArgvW(::GetCommandLineW(), &count), &::LocalFree);
    if (!words) {
        std::cerr << "scenario-runner: cannot read the command line\n";
        return 2;
    }
    const std::vector<std::filesystem::path> arguments(words.get() + 1, words.get() + count);
    return kazunavi::scenario::runScenarioCommandLine(arguments, std::cout, std::cerr);
}
