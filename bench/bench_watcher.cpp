// The clipboard watcher's tick: one whose text was seen already (the common
// case, twice a second while a text stays on the clipboard) and one whose
// text is new, for texts from 100 characters to 10 million. Both should grow
// linearly with the text; a tick on a 10-million-character text that is not
// new should stay well under 10 ms.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

#include "long_texts.h"
#include "platform/sim/sim_desktop.h"
#include "shell/application.h"
#include "shell/model/form1.h"

namespace {

using kazunavi::Application;
using kazunavi::Event;
using kazunavi::SimDesktop;
using kazunavi::bench::address;
using kazunavi::bench::templateText;

struct Watched {
    SimDesktop desktop;
    Application app{desktop.services()};
    Watched() { app.start(); }
    void tick() { app.run("timCrip", Event::Timer, 0); }
    void forgetNavigations() { desktop.browser.navigations.clear(); }
};

void BM_TickNotNew(benchmark::State& state) {
    Watched w;
    w.desktop.clipboard.content = address(state.range(0), u'1');
    w.tick();
    w.forgetNavigations();
    for (auto _ : state) {
        w.tick();
    }
    if (!w.desktop.browser.navigations.empty()) {
        state.SkipWithError("a text that is not new was browsed");
    }
    state.SetComplexityN(state.range(0));
    state.SetBytesProcessed(state.iterations() * state.range(0));
}

// Two addresses of the same length that differ only in their last digit
// take turns: every tick finds a new text, compares it in full, and browses.
void newTextTicks(benchmark::State& state, std::u16string (*make)(std::int64_t, char16_t)) {
    Watched w;
    const std::u16string texts[2] = {make(state.range(0), u'1'), make(state.range(0), u'2')};
    int turn = 0;
    for (auto _ : state) {
        w.desktop.clipboard.content = texts[turn];
        turn ^= 1;
        w.tick();
        w.forgetNavigations();
    }
    state.SetComplexityN(state.range(0));
    state.SetBytesProcessed(state.iterations() * state.range(0));
}

void BM_TickNewAddress(benchmark::State& state) {
    newTextTicks(state, address);
}
void BM_TickNewTemplate(benchmark::State& state) {
    newTextTicks(state, templateText);
}

constexpr std::int64_t kSmall = 100;
constexpr std::int64_t kMedium = 1'000'000;
constexpr std::int64_t kLarge = 10'000'000;

BENCHMARK(BM_TickNotNew)
    ->Arg(kSmall)
    ->Arg(kMedium)
    ->Arg(kLarge)
    ->Unit(benchmark::kMicrosecond)
    ->Complexity(benchmark::oN);
BENCHMARK(BM_TickNewAddress)
    ->Arg(kSmall)
    ->Arg(kMedium)
    ->Arg(kLarge)
    ->Unit(benchmark::kMicrosecond)
    ->Complexity(benchmark::oN);
BENCHMARK(BM_TickNewTemplate)
    ->Arg(kSmall)
    ->Arg(kMedium)
    ->Arg(kLarge)
    ->Unit(benchmark::kMicrosecond)
    ->Complexity(benchmark::oN);

}  // namespace

BENCHMARK_MAIN();
