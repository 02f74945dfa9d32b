#pragma once

// The step keys that work while another program has the focus. keys.ini in
// the user's configuration folder may name them ([GlobalKeys] Next= and
// Previous=, such as Ctrl+Alt+Page_Down; "off" switches one off); without
// it they are Ctrl+Alt+Page_Down and Ctrl+Alt+Page_Up, which no common
// desktop or browser takes. A key another program holds already, or a name
// the file gets wrong, is reported on standard error and left out; the
// program runs on without it.

#include <QSocketNotifier>
#include <filesystem>
#include <functional>
#include <memory>

#include "platform/x11/global_keys.h"
#include "platform/x11/x11_connection.h"

namespace kazunavi {

class QtGlobalKeys {
  public:
    enum Step { kNext, kPrevious };

    // Needs Qt on X11; does nothing elsewhere.
    QtGlobalKeys(const std::filesystem::path& settingsFile, std::function<void(Step)> pressed);
    QtGlobalKeys(const QtGlobalKeys&) = delete;
    QtGlobalKeys& operator=(const QtGlobalKeys&) = delete;
    ~QtGlobalKeys();

  private:
    std::unique_ptr<X11Connection> x11_;
    std::unique_ptr<GlobalKeys> keys_;
    std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace kazunavi
