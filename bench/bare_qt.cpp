// The yardsticks for the program's start-up: a bare Qt Widgets window of the
// same size, frameless and kept above, doing nothing; with --label it shows
// one line of Japanese text, which costs the font set-up any window with
// Japanese text pays; with --timers it runs the three timers the program runs
// when idle (100, 500 and 500 ms), doing nothing at their ticks.

#include <QApplication>
#include <QLabel>
#include <QTimer>
#include <QWidget>
#include <cstring>
#include <memory>

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "xcb");
    }
    const bool withLabel = argc > 1 && std::strcmp(argv[1], "--label") == 0;
    const bool withTimers = argc > 1 && std::strcmp(argv[1], "--timers") == 0;
    QApplication app(argc, argv);
    QWidget window(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    window.setWindowTitle(QStringLiteral("bare_qt"));
    window.resize(182, 46);
    std::unique_ptr<QLabel> label;
    if (withLabel) {
        label = std::make_unique<QLabel>(QStringLiteral("     - 待機中 -"), &window);
    }
    QTimer timers[3];
    if (withTimers) {
        for (int i = 0; i < 3; ++i) {
            timers[i].start(i == 0 ? 100 : 500);
        }
    }
    window.show();
    return QApplication::exec();
}
