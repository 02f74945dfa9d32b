#include <filesystem>
#include <iostream>
#include <vector>

#include "runner/scenario_files.h"

int main(int argc, char** argv) {
    const std::vector<std::filesystem::path> arguments(argv + 1, argv + argc);
    return kazunavi::scenario::runScenarioCommandLine(arguments, std::cout, std::cerr);
}
