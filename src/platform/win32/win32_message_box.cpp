#include "platform/win32/win32_message_box.h"

#include "platform/failure.h"
#include "platform/win32/wide_text.h"

namespace kazunavi {

static_assert(kOkCancel == MB_OKCANCEL && kExclamationOk == (MB_ICONEXCLAMATION | MB_OK));
static_assert(kAnswerOk == IDOK && kAnswerCancel == IDCANCEL);

int Win32MessageBox::show(std::u16string_view prompt, int style, std::u16string_view title) {
    if (beforeShow_) {
        beforeShow_();
    }
    const int answer =
        ::MessageBoxW(owner_ ? owner_() : nullptr, toWide(prompt).c_str(), toWide(title).c_str(),
                      static_cast<UINT>(style) | MB_SETFOREGROUND);
    if (answer == 0) {
        throw Failure("message box: cannot show it: " + errorText(::GetLastError()));
    }
    return answer;
}

}  // namespace kazunavi
