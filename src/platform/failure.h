#pragma once

#include <stdexcept>
#include <string>

namespace kazunavi {

// A failure raised inside an event procedure. Each procedure traps it as its
// own rules say (a silent end, a message box, or passing it on to its caller);
// whatever was changed before the failure stays changed.
class Failure : public std::runtime_error {
  public:
    explicit Failure(const std::string& what) : std::runtime_error(what) {}
};

}  // namespace kazunavi
