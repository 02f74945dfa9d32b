// One click on "+" with automatic browsing on: the step, the composed address
// and the browser step on the simulated desktop, in picked mode and in
// bracket-range mode, for caught addresses of about 100, 1000 and 10000
// characters. A step on a 100-character address should stay under 5
// microseconds, and the cost should grow linearly with the address.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

#include "platform/sim/sim_desktop.h"
#include "shell/application.h"
#include "shell/model/form1.h"

namespace {

using kazunavi::Application;
using kazunavi::Event;
using kazunavi::Form1;
using kazunavi::SimDesktop;

// A caught text of exactly `size` characters: the keyword "://" at 4, filler
// in the path, and `ending` at its end.
std::u16string caught(std::int64_t size, std::u16string_view ending) {
    const std::u16string head = u"ttp://example.org/";
    const auto fill = static_cast<std::size_t>(size) - head.size() - ending.size();
    return head + std::u16string(fill, u'a') + std::u16string(ending);
}

struct Stepper {
    SimDesktop desktop;
    Application app{desktop.services()};
    Form1& f = app.form1();

    explicit Stepper(std::u16string text) {
        app.start();
        f.lblCripDirect.setToolTipText(std::move(text));
        f.v.KeyPos = 4;
        f.v.AutoOn = true;
        f.UPbutton.setEnabled(true);
    }

    void run(benchmark::State& state) {
        for (auto _ : state) {
            app.run("UPbutton", Event::Click);
            desktop.browser.navigations.clear();
        }
        if (!desktop.messageBox.shown.empty()) {
            state.SkipWithError("a step showed a message");
        }
        state.SetComplexityN(state.range(0));
        state.SetBytesProcessed(state.iterations() * state.range(0) *
                                static_cast<std::int64_t>(sizeof(char16_t)));
    }
};

// Picked mode: the number 007 picked out of ".../p007.jpg".
void BM_StepPicked(benchmark::State& state) {
    Stepper s(caught(state.range(0), u"/p007.jpg"));
    s.f.v.PickMode = true;
    s.f.v.PickLen = 3;
    s.f.lblSTR.setText(u".jpg");
    s.f.txtNo.setText(u"7");
    s.run(state);
}

// Bracket-range mode with the limiter on, bounds wide enough never to stop.
void BM_StepBracket(benchmark::State& state) {
    Stepper s(caught(state.range(0), u"/p[001-999999999].jpg"));
    s.f.v.PickMode = false;
    s.f.v.LimitOn = true;
    s.f.txtLimL.setText(u"001");
    s.f.txtLimH.setText(u"999999999");
    s.f.txtNo.setText(u"001");
    s.run(state);
}

}  // namespace

BENCHMARK(BM_StepPicked)->RangeMultiplier(10)->Range(100, 10000)->Complexity(benchmark::oN);
BENCHMARK(BM_StepBracket)->RangeMultiplier(10)->Range(100, 10000)->Complexity(benchmark::oN);

BENCHMARK_MAIN();
