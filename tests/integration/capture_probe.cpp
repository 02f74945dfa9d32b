// The program's capture tick every 500 ms with the real window manager and
// browser windows, all else simulated. Prints "tick N HELD lAWH= lURL= lTTL="
// (HELD: the milliseconds the tick held the window's thread).

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <iostream>

#include "platform/atspi/front_browser_lookup.h"
#include "platform/common/utf8.h"
#include "platform/qt/qt_window_manager.h"
#include "platform/sim/sim_desktop.h"
#include "platform/x11/x11_connection.h"
#include "platform/x11/x11_windows.h"
#include "shell/application.h"

int main(int argc, char* argv[]) {
    using namespace kazunavi;
    qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication qtApplication(argc, argv);
    std::unique_ptr<X11Connection> x11 = X11Connection::open();
    X11Windows x11Windows(*x11);
    QtWindowManager windowManager(&x11Windows);
    LatestBrowserWindows browserWindows([] { return std::make_unique<FrontBrowserLookup>(); });
    SimDesktop sim;
    Services services =
        sim.services().with({.windowManager = &windowManager, .browserWindows = &browserWindows});
    Application app(services);
    int ticks = 0;
    QTimer tick;  // Qt's default (coarse) timer, like the program's
    QObject::connect(&tick, &QTimer::timeout, [&] {
        QElapsedTimer held;
        held.start();
        app.run("timGETURL", Event::Timer);
        const Form1& f = app.form1();
        std::cout << "tick " << ++ticks << ' ' << held.elapsed()
                  << " lAWH=" << toUtf8(f.lAWH.text()) << " lURL=" << toUtf8(f.lURL.text())
                  << " lTTL=" << toUtf8(f.lTTL.text()) << std::endl;
    });
    tick.start(500);
    return QApplication::exec();
}
