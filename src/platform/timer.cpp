#include "platform/timer.h"

namespace kazunavi {

void Timer::setEnabled(bool on) {
    if (on == enabled_) {
        return;
    }
    enabled_ = on;
    if (host_ != nullptr) {
        host_->timerChanged(*this);
    }
}

void Timer::setInterval(int intervalMs) {
    interval_ = intervalMs;
    if (enabled_ && host_ != nullptr) {
        host_->timerChanged(*this);
    }
}

Timer::~Timer() {
    if (host_ != nullptr) {
        host_->timerReleased(*this);
    }
}

void Timer::attach(TimerHost* host) {
    host_ = host;
    // The host learns of every timer, so that it knows the window's timer table.
    if (host_ != nullptr) {
        host_->timerChanged(*this);
    }
}

}  // namespace kazunavi
