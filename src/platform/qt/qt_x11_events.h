#pragma once

// A connection of our own to the X server, read by the event loop: its
// reports are taken as soon as they arrive, so that a look at them at a tick
// of a timer needs no system call and an idle program wakes for nothing.

#include <QSocketNotifier>
#include <functional>

#include "platform/x11/x11_connection.h"

namespace kazunavi {

class QtX11Events {
  public:
    // takeArrived reads the connection's arrived events (arrivedEvent).
    QtX11Events(X11Connection& connection, std::function<void()> takeArrived);
    QtX11Events(const QtX11Events&) = delete;
    QtX11Events& operator=(const QtX11Events&) = delete;
    ~QtX11Events() = default;

  private:
    QSocketNotifier notifier_;
};

}  // namespace kazunavi
