#pragma once

// The system beep on Windows: the sound of the user's default message.

#include "platform/services.h"

namespace kazunavi {

class MessageBeeper : public Beeper {
  public:
    void beep() override;
};

}  // namespace kazunavi
