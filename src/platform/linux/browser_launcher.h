#pragma once

// The browser step on Linux: a browser program of its own for every address,
// started apart from this program so that it outlives it.

#include <string_view>

#include "platform/services.h"

namespace kazunavi {

class LinuxBrowser : public Browser {
  public:
    // Starts the browser that $BROWSER or xdg-open names (read from the
    // environment at each call) and returns as soon as it runs. Throws Failure
    // when the address cannot be sent or the program cannot be started.
    void navigate(std::u16string_view address) override;
};

}  // namespace kazunavi
