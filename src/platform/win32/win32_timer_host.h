#pragma once

// The model's timers as timers of a message-only window of the program's
// own (SetTimer, WM_TIMER): they tick on the user-interface thread, between
// messages, also while a message box or the move loop runs.

#include <windows.h>

#include <functional>
#include <map>

#include "platform/timer.h"

namespace kazunavi {

class Win32TimerHost : public TimerHost {
  public:
    using Tick = std::function<void(Timer&)>;
    // Throws Failure when its window cannot be made.
    Win32TimerHost();
    Win32TimerHost(const Win32TimerHost&) = delete;
    Win32TimerHost& operator=(const Win32TimerHost&) = delete;
    ~Win32TimerHost() override;

    void setTick(Tick tick) { tick_ = std::move(tick); }

    void timerChanged(Timer& timer) override;
    void timerReleased(Timer& timer) override;

  private:
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void ticked(UINT_PTR id);

    HWND window_ = nullptr;
    Tick tick_;
    std::map<UINT_PTR, Timer*> timers_;  // not owned; each tells when it goes
    std::map<const Timer*, UINT_PTR> ids_;
    UINT_PTR nextId_ = 1;
};

}  // namespace kazunavi
