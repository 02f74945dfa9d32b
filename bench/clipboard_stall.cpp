// How long the window's thread stands still at a clipboard read while the
// clipboard's owner never answers: Qt's own clipboard against the bounded
// reader the program uses. Needs an X11 display ($DISPLAY); runs about a
// minute. Prints one line per measurement, times in milliseconds.

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <chrono>
#include <cstdio>
#include <thread>

#include "deaf_owner.h"
#include "platform/failure.h"
#include "platform/qt/qt_clipboard.h"
#include "platform/x11/background_selection.h"
#include "platform/x11/x11_connection.h"

namespace {

using Clock = std::chrono::steady_clock;

template <typename F>
double millisecondsOf(F&& f) {
    const auto start = Clock::now();
    f();
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

}  // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    xcb_connection_t* deaf = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(deaf) != 0 ||
        kazunavi::testing::takeClipboardDeafly(deaf) == XCB_NONE) {
        std::fprintf(stderr, "clipboard_stall: needs an X11 display\n");
        return 1;
    }
    QClipboard* qt = QGuiApplication::clipboard();
    for (int i = 1; i <= 3; ++i) {
        std::printf("Qt  mimeData()->hasText() #%d: %8.1f ms\n", i, millisecondsOf([&] {
                        const QMimeData* data = qt->mimeData();
                        (void)(data != nullptr && data->hasText());
                    }));
        std::printf("Qt  text()              #%d: %8.1f ms\n", i,
                    millisecondsOf([&] { (void)qt->text(); }));
    }

    kazunavi::BackgroundSelection selection(kazunavi::X11Connection::open(),
                                            kazunavi::X11Connection::open());
    kazunavi::QtClipboard ours(&selection);
    // The watcher's tick: ask for text, then read it; twice a second for 12 s.
    double worst = 0;
    double total = 0;
    constexpr int kTicks = 24;
    for (int tick = 1; tick <= kTicks; ++tick) {
        const double ms = millisecondsOf([&] {
            try {
                if (ours.hasText()) {
                    (void)ours.text();
                }
            } catch (const kazunavi::Failure&) {
                // The tick ends; the watcher tries again at the next one.
            }
        });
        std::printf("ours tick %2d (hasText + text): %8.1f ms\n", tick, ms);
        worst = std::max(worst, ms);
        total += ms;
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
    }
    std::printf("ours: worst tick %.1f ms, %.1f ms stalled in %d ticks (12 s)\n", worst, total,
                kTicks);
    xcb_disconnect(deaf);
    return 0;
}
