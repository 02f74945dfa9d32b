#include "platform/win32/win32_window_manager.h"

#include <cstdint>
#include <string>

#include "platform/common/window_text.h"
#include "platform/win32/wide_text.h"

namespace kazunavi {

WindowHandle handleOf(HWND window) {
    return static_cast<WindowHandle>(reinterpret_cast<std::uintptr_t>(window));
}

HWND windowOf(WindowHandle handle) {
    const auto extended = static_cast<std::intptr_t>(static_cast<std::int32_t>(handle));
    return reinterpret_cast<HWND>(extended);
}

HWND Win32WindowManager::nativeOf(WindowHandle handle) const {
    const auto found = own_.find(handle);
    return found == own_.end() ? windowOf(handle) : found->second;
}

WindowHandle Win32WindowManager::foregroundWindow() {
    const HWND front = ::GetForegroundWindow();
    for (const auto& [handle, window] : own_) {
        if (window == front) {
            return handle;
        }
    }
    return handleOf(front);
}

std::u16string Win32WindowManager::windowText(WindowHandle window, int bufferSize) {
    const HWND hwnd = nativeOf(window);
    const int length = ::GetWindowTextLengthW(hwnd);
    if (length <= 0) {
        return {};
    }
    // The length may be larger than the title, never smaller.
    std::wstring title(static_cast<std::size_t>(length) + 1, L'\0');
    title.resize(static_cast<std::size_t>(::GetWindowTextW(hwnd, title.data(), length + 1)));
    return narrowWindowText(fromWide(title), bufferSize);
}

void Win32WindowManager::keepOnTop(WindowHandle window) {
    ::SetWindowPos(nativeOf(window), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

void Win32WindowManager::startDrag(WindowHandle window) {
    ::ReleaseCapture();
    ::SendMessageW(nativeOf(window), WM_NCLBUTTONDOWN, HTCAPTION, 0);
}

}  // namespace kazunavi
