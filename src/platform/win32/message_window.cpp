#include "platform/win32/message_window.h"

#include "platform/failure.h"
#include "platform/win32/wide_text.h"

namespace kazunavi {

namespace {

constexpr wchar_t kClassName[] = L"Kazunavi.MessageWindow";

}  // namespace

MessageWindow::MessageWindow() {
    const HINSTANCE program = ::GetModuleHandleW(nullptr);
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = ::DefWindowProcW;
    windowClass.hInstance = program;
    windowClass.lpszClassName = kClassName;
    // Registered by the first window; it stays until the program ends.
    if (::RegisterClassW(&windowClass) == 0 && ::GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
        throw Failure("message window: cannot register its class: " + errorText(::GetLastError()));
    }
    window_ = ::CreateWindowExW(0, kClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, program,
                                nullptr);
    if (window_ == nullptr) {
        throw Failure("message window: cannot create it: " + errorText(::GetLastError()));
    }
}

MessageWindow::~MessageWindow() {
    ::DestroyWindow(window_);
}

}  // namespace kazunavi
