#pragma once

#include "platform/services.h"

namespace kazunavi {

// Holds the window after a press until the tick counter has moved on by more
// than 200 ms; no other event is handled meanwhile.
void holdAfterPress(TickCounter& ticks);

}  // namespace kazunavi
