#include "platform/qt/qt_timer_host.h"

namespace kazunavi {

void QtTimerHost::timerChanged(Timer& timer) {
    auto& qtimer = timers_[&timer];
    if (!qtimer) {
        qtimer = std::make_unique<QTimer>();
        QObject::connect(qtimer.get(), &QTimer::timeout, [this, &timer] {
            // A tick queued before the timer was stopped does not run.
            if (timer.enabled() && tick_) {
                tick_(timer);
            }
        });
    }
    if (timer.enabled()) {
        qtimer->start(timer.interval());  // a fresh interval from now
    } else {
        qtimer->stop();
    }
}

void QtTimerHost::timerReleased(Timer& timer) {
    timers_.erase(&timer);
}

const QTimer* QtTimerHost::qtTimer(const Timer& timer) const {
    auto found = timers_.find(&timer);
    return found == timers_.end() ? nullptr : found->second.get();
}

}  // namespace kazunavi
