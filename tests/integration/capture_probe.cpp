// The program's foreground capture on the real desktop, without its window:
// the real window manager service, the browser windows as the accessibility
// bus shows them, and the capture's tick every 500 ms on a Qt event loop.
// Every other service is simulated.
//
// Prints one line per tick, in UTF-8:
//   tick N MS lAWH=... lURL=... lTTL=...
// (MS: the wall clock in milliseconds since 1970, as date +%s%3N gives it)
// With --measure SECONDS it then measures, for SECONDS each: the CPU time per
// tick (the whole process, and the lookup thread alone), and the event loop's
// stalls while the capture runs (the lateness of a 1 ms timer), and prints
//   measure key=value ...
// --seconds N ends it after N seconds (default 120); --no-lookup uses no
// browser windows at all (the baseline of the measurement).

#include <sys/resource.h>
#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>

#include "platform/atspi/accessible_browser_windows.h"
#include "platform/common/utf8.h"
#include "platform/qt/qt_window_manager.h"
#include "platform/sim/sim_desktop.h"
#include "platform/x11/x11_connection.h"
#include "platform/x11/x11_windows.h"
#include "shell/application.h"

namespace {

using namespace kazunavi;

double processCpuMs() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1000.0 +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1000.0;
}

// How long the calling thread has stood ready to run while other threads had
// the processors (the second field of its schedstat), in milliseconds.
double runQueueWaitMs() {
    std::ifstream schedstat("/proc/thread-self/schedstat");
    double running = 0;
    double waiting = 0;
    schedstat >> running >> waiting;
    return waiting / 1e6;
}

// The CPU time of the thread with this name, from /proc (0 when none).
double threadCpuMs(const std::string& name) {
    const double ticksPerMs = static_cast<double>(sysconf(_SC_CLK_TCK)) / 1000.0;
    for (const auto& task : std::filesystem::directory_iterator("/proc/self/task")) {
        std::ifstream comm(task.path() / "comm");
        std::string taskName;
        std::getline(comm, taskName);
        if (taskName != name) {
            continue;
        }
        std::ifstream stat(task.path() / "stat");
        std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
        // Fields after the command's closing parenthesis; utime and stime are
        // the 14th and 15th of the line.
        std::istringstream fields(text.substr(text.rfind(')') + 2));
        std::string field;
        double utime = 0;
        double stime = 0;
        for (int i = 3; fields >> field; ++i) {
            if (i == 14) {
                utime = std::stod(field);
            } else if (i == 15) {
                stime = std::stod(field);
                break;
            }
        }
        return (utime + stime) / ticksPerMs;
    }
    return 0;
}

struct Options {
    int seconds = 120;
    int measureSeconds = 0;
    bool lookup = true;
};

Options parse(int argc, char* argv[]) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--seconds" && i + 1 < argc) {
            options.seconds = std::atoi(argv[++i]);
        } else if (arg == "--measure" && i + 1 < argc) {
            options.measureSeconds = std::atoi(argv[++i]);
        } else if (arg == "--no-lookup") {
            options.lookup = false;
        } else {
            std::cerr << "usage: capture_probe [--seconds N] [--measure SECONDS] [--no-lookup]\n";
            std::exit(2);
        }
    }
    return options;
}

class Probe {
  public:
    Probe(Options options, BrowserWindows& browserWindows, WindowManager& windowManager)
        : options_(options),
          services_{sim_.messageBox, sim_.clipboard, sim_.browser,     windowManager,
                    sim_.profile,    sim_.clock,     sim_.beeper,      sim_.instanceCheck,
                    folder_,         browserWindows, sim_.programExit, sim_.clock},
          app_(services_) {}

    void start() {
        clock_.start();
        // Like the program's timers: Qt's default (coarse) timer.
        QObject::connect(&tick_, &QTimer::timeout, [this] { tick(); });
        tick_.start(500);
        QTimer::singleShot(options_.seconds * 1000, [] { QCoreApplication::exit(0); });
        if (options_.measureSeconds > 0) {
            // Measure after the browsers had time to be found.
            QTimer::singleShot(
                std::max(0, options_.seconds - 2 * options_.measureSeconds - 1) * 1000,
                [this] { measureCpu(); });
        }
    }

  private:
    void tick() {
        const auto before = std::chrono::steady_clock::now();
        app_.run("timGETURL", Event::Timer);
        const double ms =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - before)
                .count();
        handlerMaxMs_ = std::max(handlerMaxMs_, ms);
        handlerTotalMs_ += ms;
        ++ticks_;
        Form1& f = app_.form1();
        const auto wallMs = std::chrono::duration_cast<std::chrono::milliseconds>(
                                std::chrono::system_clock::now().time_since_epoch())
                                .count();
        std::cout << "tick " << ticks_ << ' ' << wallMs << " lAWH=" << toUtf8(f.lAWH.text())
                  << " lURL=" << toUtf8(f.lURL.text()) << " lTTL=" << toUtf8(f.lTTL.text())
                  << std::endl;
    }

    void measureCpu() {
        cpuStart_ = processCpuMs();
        lookupStart_ = threadCpuMs("kazunavi-lookup");
        ticksStart_ = ticks_;
        handlerMaxMs_ = 0;
        handlerTotalMs_ = 0;
        QTimer::singleShot(options_.measureSeconds * 1000, [this] { measureLatency(); });
    }

    void measureLatency() {
        const int ticks = ticks_ - ticksStart_;
        std::cout << "measure ticks=" << ticks
                  << " cpu_process_ms_per_tick=" << (processCpuMs() - cpuStart_) / ticks
                  << " cpu_lookup_ms_per_tick="
                  << (threadCpuMs("kazunavi-lookup") - lookupStart_) / ticks
                  << " tick_handler_max_ms=" << handlerMaxMs_
                  << " tick_handler_mean_ms=" << handlerTotalMs_ / ticks << std::endl;
        // The lateness of a 1 ms timer shows every stall of the event loop.
        // Of each stall, the time the thread stood ready while other
        // programs had the processors (the browsers answering the lookup
        // compete for them) is told apart from the time the loop itself was
        // held up.
        probe_.setTimerType(Qt::PreciseTimer);
        QObject::connect(&probe_, &QTimer::timeout, [this] {
            const qint64 now = clock_.nsecsElapsed();
            const double waited = runQueueWaitMs();
            if (lastProbe_ != 0) {
                const double lateMs = (now - lastProbe_) / 1e6 - 1.0;
                const double heldMs = lateMs - (waited - lastWaited_);
                maxStallMs_ = std::max(maxStallMs_, lateMs);
                stallsOver5_ += lateMs > 5.0 ? 1 : 0;
                maxHeldMs_ = std::max(maxHeldMs_, heldMs);
                heldOver5_ += heldMs > 5.0 ? 1 : 0;
                ++samples_;
            }
            lastProbe_ = now;
            lastWaited_ = waited;
        });
        probe_.start(1);
        QTimer::singleShot(options_.measureSeconds * 1000, [this] {
            probe_.stop();
            std::cout << "measure loop_samples=" << samples_ << " loop_max_stall_ms=" << maxStallMs_
                      << " loop_stalls_over_5ms=" << stallsOver5_
                      << " loop_max_held_ms=" << maxHeldMs_ << " loop_held_over_5ms=" << heldOver5_
                      << std::endl;
        });
    }

    Options options_;
    SimDesktop sim_;
    SimProgramFolder folder_{sim_.folder()};
    Services services_;
    Application app_;
    QTimer tick_;
    QTimer probe_;
    QElapsedTimer clock_;
    int ticks_ = 0;
    int ticksStart_ = 0;
    double handlerMaxMs_ = 0;
    double handlerTotalMs_ = 0;
    double cpuStart_ = 0;
    double lookupStart_ = 0;
    qint64 lastProbe_ = 0;
    double maxStallMs_ = 0;
    int stallsOver5_ = 0;
    double lastWaited_ = 0;
    double maxHeldMs_ = 0;
    int heldOver5_ = 0;
    int samples_ = 0;
};

}  // namespace

int main(int argc, char* argv[]) {
    const Options options = parse(argc, argv);
    qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication qtApplication(argc, argv);
    std::unique_ptr<X11Connection> x11 = X11Connection::open();
    if (!x11) {
        std::cerr << "capture_probe: no X11 display\n";
        return 1;
    }
    X11Windows x11Windows(*x11);
    QtWindowManager windowManager(&x11Windows);
    std::unique_ptr<BrowserWindows> browserWindows;
    if (options.lookup) {
        browserWindows = std::make_unique<AccessibleBrowserWindows>();
    } else {
        browserWindows = std::make_unique<SimBrowserWindows>();
    }
    Probe probe(options, *browserWindows, windowManager);
    probe.start();
    return QApplication::exec();
}
