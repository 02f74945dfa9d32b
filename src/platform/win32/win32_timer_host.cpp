#include "platform/win32/win32_timer_host.h"

#include "platform/failure.h"
#include "platform/win32/wide_text.h"

namespace kazunavi {

namespace {
constexpr wchar_t kClassName[] = L"Kazunavi.TimerWindow";
}

Win32TimerHost::Win32TimerHost() {
    const HINSTANCE program = ::GetModuleHandleW(nullptr);
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = &Win32TimerHost::procedure;
    windowClass.hInstance = program;
    windowClass.lpszClassName = kClassName;
    if (::RegisterClassW(&windowClass) == 0 && ::GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
        throw Failure("timers: cannot register their window class: " + errorText(::GetLastError()));
    }
    window_ = ::CreateWindowExW(0, kClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, program,
                                nullptr);
    if (window_ == nullptr) {
        throw Failure("timers: cannot create their window: " + errorText(::GetLastError()));
    }
    ::SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

Win32TimerHost::~Win32TimerHost() {
    ::SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    ::DestroyWindow(window_);  // its timers go with it
}

void Win32TimerHost::timerChanged(Timer& timer) {
    auto [found, added] = ids_.try_emplace(&timer, nextId_);
    if (added) {
        timers_[nextId_++] = &timer;
    }
    if (timer.enabled()) {
        // Setting a running timer again starts a fresh interval.
        ::SetTimer(window_, found->second, static_cast<UINT>(timer.interval()), nullptr);
    } else {
        ::KillTimer(window_, found->second);
    }
}

void Win32TimerHost::timerReleased(Timer& timer) {
    const auto found = ids_.find(&timer);
    if (found == ids_.end()) {
        return;
    }
    ::KillTimer(window_, found->second);
    timers_.erase(found->second);
    ids_.erase(found);
}

void Win32TimerHost::ticked(UINT_PTR id) {
    const auto found = timers_.find(id);
    // A tick queued before the timer was stopped does not run.
    if (found != timers_.end() && found->second->enabled() && tick_) {
        tick_(*found->second);
    }
}

LRESULT CALLBACK Win32TimerHost::procedure(HWND window, UINT message, WPARAM wParam,
                                           LPARAM lParam) {
    if (message == WM_TIMER) {
        if (auto* host =
                reinterpret_cast<Win32TimerHost*>(::GetWindowLongPtrW(window, GWLP_USERDATA))) {
            host->ticked(wParam);
        }
        return 0;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace kazunavi
