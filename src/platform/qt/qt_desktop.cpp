#include "platform/qt/qt_desktop.h"

#include <QApplication>
#include <QGuiApplication>

namespace kazunavi {

void QtBeeper::beep() {
    QApplication::beep();
}

void QtProgramExit::endProgram() {
    QCoreApplication::exit(0);
}

void ShowingTicks::pause(std::uint32_t ms) {
    if (beforeWait_) {
        beforeWait_();
    }
    clock_.pause(ms);
}

namespace {
std::unique_ptr<X11Connection> openX11() {
    // Only where Qt itself runs on X11: the ids must belong to one display.
    if (QGuiApplication::platformName() != QStringLiteral("xcb")) {
        return nullptr;
    }
    return X11Connection::open();
}

std::unique_ptr<BackgroundSelection> openSelection() {
    std::unique_ptr<X11Connection> direct = openX11();
    std::unique_ptr<X11Connection> reading = openX11();
    if (!direct || !reading) {
        return nullptr;
    }
    return std::make_unique<BackgroundSelection>(std::move(direct), std::move(reading));
}
}  // namespace

std::optional<std::string> displayProblem() {
    if (qgetenv("QT_QPA_PLATFORM") != "xcb" || X11Connection::open()) {
        return std::nullopt;
    }
    const QByteArray display = qgetenv("DISPLAY");
    if (display.isEmpty()) {
        return "no X display ($DISPLAY is not set); Kazunavi needs an X11 desktop or XWayland";
    }
    return "cannot open the X display " + display.toStdString();
}

QtDesktop::QtDesktop()
    : x11ForWindows_(openX11()),
      x11Windows_(x11ForWindows_ ? std::make_unique<X11Windows>(*x11ForWindows_) : nullptr),
      selection_(x11ForWindows_ ? openSelection() : nullptr),
      clipboard(selection_.get()),
      windowManager(x11Windows_.get()),
      services_{.messageBox = messageBox,
                .clipboard = clipboard,
                .browser = browser,
                .windowManager = windowManager,
                .profile = profile,
                .ticks = ticks,
                .beeper = beeper,
                .instanceCheck = instanceCheck,
                .programFolder = programFolder,
                .browserWindows = browserWindows,
                .programExit = programExit,
                .timerHost = timerHost} {
    if (x11Windows_) {
        windowReports_ = std::make_unique<QtX11Events>(
            *x11ForWindows_, [this] { x11Windows_->takeArrivedReports(); });
    }
    if (selection_) {
        ownerReports_ = std::make_unique<QtX11Events>(
            selection_->ownerConnection(), [this] { selection_->takeArrivedOwnerReports(); });
    }
}

QtDesktop::~QtDesktop() = default;

void QtDesktop::watchStepKeys(std::function<void(QtGlobalKeys::Step)> pressed) {
    const std::optional<std::filesystem::path> folder =
        configurationFolder(ProgramFolderSetting::ofThisProcess());
    stepKeys_ =
        std::make_unique<QtGlobalKeys>(folder ? *folder / "keys.ini" : "", std::move(pressed));
}

}  // namespace kazunavi
