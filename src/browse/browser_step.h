#pragma once

#include <string_view>

#include "platform/services.h"

namespace kazunavi {

// Runs the browser step (a new browser window, made visible and sent to the
// address). When any part of it fails, the user is told with Error_08.
// Returns whether the browser was sent there.
bool browseOrReport(Services& services, std::u16string_view address);

}  // namespace kazunavi
