#pragma once

// The model's timers as QTimers of the user-interface thread.

#include <QTimer>
#include <functional>
#include <map>
#include <memory>

#include "platform/timer.h"

namespace kazunavi {

class QtTimerHost : public TimerHost {
  public:
    using Tick = std::function<void(Timer&)>;
    QtTimerHost() = default;
    QtTimerHost(const QtTimerHost&) = delete;
    QtTimerHost& operator=(const QtTimerHost&) = delete;
    ~QtTimerHost() override = default;

    void setTick(Tick tick) { tick_ = std::move(tick); }

    void timerChanged(Timer& timer) override;
    void timerReleased(Timer& timer) override;

    // The Qt timer behind a model timer, if it has one (for tests).
    const QTimer* qtTimer(const Timer& timer) const;

  private:
    Tick tick_;
    std::map<const Timer*, std::unique_ptr<QTimer>> timers_;
};

}  // namespace kazunavi
