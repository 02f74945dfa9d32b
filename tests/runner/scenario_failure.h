#pragma once

#include <stdexcept>
#include <string>

namespace kazunavi::scenario {

// Stops a scenario: a check that did not hold, a command that cannot be
// carried out, or a failure that escaped the program. The text says what was
// expected and what was found.
class ScenarioFailure : public std::runtime_error {
  public:
    explicit ScenarioFailure(const std::string& what) : std::runtime_error(what) {}
};

}  // namespace kazunavi::scenario
