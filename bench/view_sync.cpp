// The main window's part of a clipboard tick, for texts from 100 characters
// to 10 million: the tick that catches a new text, shows it and draws the
// window, and the tick that finds the same text again. Both run on the
// user-interface thread: whatever they take, the window is frozen for.
// Yardstick: a tick whose text is not new should cost the window well
// under 1 ms (a tenth of a frame), whatever the text's size; a new text
// should be shown and drawn in a few milliseconds. Last, a tick that changes
// nothing, with the longest keep list.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <cstdint>
#include <string>

#include "long_texts.h"
#include "platform/sim/sim_desktop.h"
#include "shell/application.h"
#include "ui/qt/form_views.h"
#include "ui/qt/skins.h"

namespace kazunavi {
namespace {

using bench::address;

// The real window on the simulated desktop, its timers on the simulated
// clock: they tick only when told.
class ShownWindow {
  public:
    ShownWindow() {
        sim_.windowManager.foreground = Form1::kHandle;
        app_.start();
        views_.syncAll();
        views_.mainView().show();
        QApplication::processEvents();
    }
    // One tick of the clipboard watcher as the window runs it, drawn.
    void tick() {
        views_.tick(*app_.form1().findTimer("timCrip"));
        views_.mainView().repaint();
    }
    // One tick of the lamp's timer, which changes nothing on the screen.
    void lampTick() { views_.tick(*app_.form1().findTimer("Timer3")); }
    SimDesktop& sim() { return sim_; }
    Form1& form() { return app_.form1(); }

  private:
    SimDesktop sim_;
    Application app_{sim_.services()};
    FormViews views_{app_, nullptr};
};

void NewTextShown(benchmark::State& state) {
    ShownWindow window;
    const std::u16string texts[] = {address(state.range(0), u'1'), address(state.range(0), u'2')};
    int round = 0;
    for (auto _ : state) {
        state.PauseTiming();
        window.sim().clipboard.content = texts[++round % 2];
        window.sim().browser.navigations.clear();
        state.ResumeTiming();
        window.tick();
    }
}
BENCHMARK(NewTextShown)->Arg(100)->Arg(1'000'000)->Arg(10'000'000)->Unit(benchmark::kMillisecond);

void SameTextAgain(benchmark::State& state) {
    ShownWindow window;
    window.sim().clipboard.content = address(state.range(0), u'1');
    window.tick();
    for (auto _ : state) {
        window.tick();
    }
}
BENCHMARK(SameTextAgain)->Arg(100)->Arg(1'000'000)->Arg(10'000'000)->Unit(benchmark::kMillisecond);

// With a keep list as long as a count can make it: the views compare no list
// that did not change.
void LampTickWithTheLongestList(benchmark::State& state) {
    ShownWindow window;
    for (int i = 0; i < 32767; ++i) {
        window.form().List1.addItem(address(100, u'1'));
        window.form().List2.addItem(address(100, u'2'));
    }
    window.lampTick();
    for (auto _ : state) {
        window.lampTick();
    }
}
BENCHMARK(LampTickWithTheLongestList)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace kazunavi

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    kazunavi::applyProgramLook();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
