#pragma once

// The program's command line, read before any window: --help and --version
// answer without a display, and what the program cannot take is an error.

#include <optional>

namespace kazunavi {

// The exit status when the program is to end at once (its answer printed),
// nullopt when it is to start its window.
std::optional<int> answerCommandLine(int argc, char* argv[]);

}  // namespace kazunavi
