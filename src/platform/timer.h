#pragma once

#include <string>

namespace kazunavi {

class Timer;

// Runs the ticks of a window's timers: the simulated clock in tests, real
// timers of the user-interface thread in the program.
class TimerHost {
  public:
    virtual ~TimerHost() = default;
    // The timer was enabled (a fresh interval starts now) or disabled.
    virtual void timerChanged(Timer& timer) = 0;
    // The timer goes away or moves to another host.
    virtual void timerReleased(Timer& timer) = 0;
};

// A timer element of a window. A disabled timer does not tick; enabling a
// stopped timer starts a fresh interval.
class Timer {
  public:
    Timer(std::string name, int intervalMs) : name_(std::move(name)), interval_(intervalMs) {}
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;
    ~Timer();

    const std::string& name() const { return name_; }
    int interval() const { return interval_; }
    bool enabled() const { return enabled_; }

    void setEnabled(bool on);
    void setInterval(int intervalMs);
    // The host learns of the timer; a running one starts its interval now.
    // Once, to the host that runs the timer until it goes.
    void attach(TimerHost* host);

  private:
    std::string name_;
    int interval_;
    bool enabled_ = false;
    TimerHost* host_ = nullptr;  // not owned
};

}  // namespace kazunavi
