#include <iostream>
#include <string>
#include <vector>

#include "runner/scenario_files.h"

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    return kazunavi::scenario::runScenarioCommandLine(arguments, std::cout, std::cerr);
}
