#include "platform/win32/message_beep.h"

#include <windows.h>

namespace kazunavi {

void MessageBeeper::beep() {
    ::MessageBeep(MB_OK);
}

}  // namespace kazunavi
