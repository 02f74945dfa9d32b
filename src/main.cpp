// Kazunavi: the program's entry. Builds the real services, the application
// and its windows, starts the application and runs the event loop until the
// program ends.

#include <QApplication>
#include <cstdio>

#include "platform/qt/qt_desktop.h"
#include "shell/application.h"
#include "ui/qt/command_line.h"
#include "ui/qt/form_views.h"
#include "ui/qt/help_page.h"
#include "ui/qt/skins.h"

namespace {

// The clipboard watch and the window in front need X11: on a Wayland session
// the program runs through XWayland, unless the user chose a platform.
void preferX11() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "xcb");
    }
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication::setApplicationName(QStringLiteral("Kazunavi"));
    QApplication::setApplicationVersion(QStringLiteral("1.2"));
    if (const std::optional<int> status = kazunavi::answerCommandLine(argc, argv)) {
        return *status;
    }
    preferX11();
    if (const std::optional<std::string> problem = kazunavi::displayProblem()) {
        std::fprintf(stderr, "kazunavi: %s\n", problem->c_str());
        return 1;
    }
    QApplication qtApplication(argc, argv);
    kazunavi::applyProgramLook();

    kazunavi::QtDesktop desktop;
    kazunavi::Application app(desktop.services());
    app.helpAddress = kazunavi::helpPageAddress();

    kazunavi::FormViews views(app, &desktop.windowManager);
    desktop.timerHost.setTick([&views](kazunavi::Timer& timer) { views.tick(timer); });
    desktop.messageBox.setOwner([&views] { return views.messageOwner(); });
    desktop.messageBox.setBeforeShow([&views] { views.syncAll(); });
    desktop.ticks.setBeforeWait([&views] { views.showNow(); });

    app.start();
    if (app.ended()) {
        return 0;  // a second copy: the first one goes on alone
    }
    // The first copy only: a second one would find the keys taken.
    desktop.watchStepKeys([&views](kazunavi::QtGlobalKeys::Step step) {
        views.press(step == kazunavi::QtGlobalKeys::kNext ? "UPbutton" : "DWNbutton");
    });
    views.syncAll();
    return QApplication::exec();
}
