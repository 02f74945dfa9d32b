#include "platform/qt/qt_x11_events.h"

namespace kazunavi {

QtX11Events::QtX11Events(X11Connection& connection, std::function<void()> takeArrived)
    : notifier_(connection.descriptor(), QSocketNotifier::Read) {
    connection.readByEventLoop();
    QObject::connect(&notifier_, &QSocketNotifier::activated,
                     [this, &connection, takeArrived = std::move(takeArrived)] {
                         takeArrived();
                         // A closed connection stays readable: the loop would
                         // never rest. Its users find it broken and ask anew.
                         if (connection.broken()) {
                             notifier_.setEnabled(false);
                         }
                     });
}

}  // namespace kazunavi
