#pragma once

// The browser step on Linux: a browser program of its own for every address,
// started apart from this program so that it outlives it.

#include <optional>
#include <string>
#include <string_view>

#include "platform/services.h"

namespace kazunavi {

class LinuxBrowser : public Browser {
  public:
    // Starts the browser that $BROWSER (read at each call), the desktop's
    // default web browser or xdg-open names, and returns as soon as it runs.
    // Throws Failure when the address cannot be sent or the program cannot
    // be started.
    void navigate(std::u16string_view address) override;

  private:
    // Asking xdg-mime takes a tenth of a second: asked once, at the first
    // address that $BROWSER does not take.
    std::optional<std::optional<std::string>> defaultBrowserExec_;
};

}  // namespace kazunavi
