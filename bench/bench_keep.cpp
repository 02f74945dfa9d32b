// Speed of the keep list routines on a real URL.ini: the start-up load of 50
// entries and of a count of 32767, and the saves of KEEP and DEL with 50
// entries, with and without the file system's part.

#include <benchmark/benchmark.h>
#include <time.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>

#include "keep/keep_list.h"
#include "platform/common/ini_profile.h"
#include "platform/common/utf8.h"
#include "platform/sim/sim_desktop.h"
#include "shell/model/form1.h"
#include "support/disk_profile.h"

namespace kazunavi {
namespace {

namespace fs = std::filesystem;

constexpr int kEntries = 50;
constexpr int kLargestCount = 32767;

// About 100 bytes each in code page 932.
std::u16string entryName(int i) {
    return u"お気に入りの写真ギャラリー集　第" + fromUtf8(std::to_string(i)) +
           u"巻　（夏の特集号・高画質版）";
}
std::u16string entryAddress(int i) {
    return u"http://www.example.co.jp/gallery/2024/summer/photos/" + fromUtf8(std::to_string(i)) +
           u"/large_image_viewer.html?from=kazunavi";
}

// The work of a save without the file system: the batch is dropped instead
// of written.
class DryRunProfile : public test::DiskProfileFile {
  public:
    void commitBatch() override { discardBatch(); }
};

// The keep list of one program run, on the real INI file in the simulated
// desktop's folder.
class KeepBench {
  public:
    explicit KeepBench(IniProfileFile& profile)
        : services_{sim_.messageBox, sim_.clipboard,      sim_.browser,     sim_.windowManager,
                    profile,         sim_.clock,          sim_.beeper,      sim_.instanceCheck,
                    folder_,         sim_.browserWindows, sim_.programExit, sim_.clock},
          keep_(form_, services_) {}

    fs::path file() const { return sim_.folder() / "URL.ini"; }
    Form1& form() { return form_; }
    KeepList& keep() { return keep_; }
    SimDesktop& sim() { return sim_; }

    void fill(int n) {
        for (int i = form_.List1.listCount(); i < n; ++i) {
            form_.List1.addItem(entryName(i));
            form_.List2.addItem(entryAddress(i));
        }
    }
    // Last changed an hour ago, as a file is at a start-up.
    void ageFile() {
        fs::last_write_time(file(), fs::file_time_type::clock::now() - std::chrono::hours(1));
    }

  private:
    SimDesktop sim_;
    SimProgramFolder folder_{sim_.folder()};
    Services services_;
    Form1 form_;
    KeepList keep_;
};

void writeFile(const fs::path& file, int entries, int count) {
    test::DiskProfileFile profile;
    profile.beginBatch(file);
    profile.write(file, u"KeepCount", u"Count", fromUtf8(std::to_string(count)));
    for (int i = 0; i < entries; ++i) {
        const std::u16string n = fromUtf8(std::to_string(i));
        profile.write(file, u"KeepURL", u"Name" + n, entryName(i));
        profile.write(file, u"KeepURL", u"URL" + n, entryAddress(i));
    }
    profile.commitBatch();
}

double threadCpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// A fresh start each round: the file is read, parsed and every entry loaded.
void loadRounds(benchmark::State& state, int entries, int count) {
    test::DiskProfileFile writer;
    KeepBench setup(writer);
    writeFile(setup.file(), entries, count);
    setup.ageFile();
    double cpuSeconds = 0;
    for (auto _ : state) {
        test::DiskProfileFile profile;
        KeepBench run(profile);
        fs::copy_file(setup.file(), run.file());
        run.ageFile();
        const double cpuStarted = threadCpuSeconds();
        const auto started = std::chrono::steady_clock::now();
        run.keep().LoadKeepList();
        const auto took = std::chrono::steady_clock::now() - started;
        cpuSeconds += threadCpuSeconds() - cpuStarted;
        state.SetIterationTime(std::chrono::duration<double>(took).count());
        if (run.form().List1.listCount() != count) {
            state.SkipWithError("the list did not load");
        }
    }
    state.SetItemsProcessed(state.iterations() * (2 * count + 1));
    // The machine may be shared: the load's own processor time, per round.
    state.counters["load_cpu_ms"] =
        benchmark::Counter(cpuSeconds * 1e3 / static_cast<double>(state.iterations()));
}

void Load50Entries(benchmark::State& state) {
    loadRounds(state, kEntries, kEntries);
}
BENCHMARK(Load50Entries)->UseManualTime()->Unit(benchmark::kMicrosecond);

// A hostile count in a file that holds no entries.
void LoadCount32767WithoutEntries(benchmark::State& state) {
    loadRounds(state, 0, kLargestCount);
}
BENCHMARK(LoadCount32767WithoutEntries)->UseManualTime()->Unit(benchmark::kMillisecond);

// A file that really holds 32767 entries (about 6 MB).
void LoadCount32767WithEveryEntry(benchmark::State& state) {
    loadRounds(state, kLargestCount, kLargestCount);
}
BENCHMARK(LoadCount32767WithEveryEntry)
    ->UseManualTime()
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

// KEEP of the 50th entry: 101 writes, one rewrite of the file.
template <class Profile>
void keepFiftieth(benchmark::State& state) {
    Profile profile;
    KeepBench b(profile);
    b.fill(kEntries - 1);
    b.keep().SaveKeepList(true);
    int round = 0;
    for (auto _ : state) {
        // A new name each round, so that every save really changes the file.
        b.keep().AddKeepEntry(u"Keep " + fromUtf8(std::to_string(++round)), u"http://example.org/");
        state.PauseTiming();
        b.form().List1.removeItem(kEntries - 1);
        b.form().List2.removeItem(kEntries - 1);
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * (2 * kEntries + 1));
}
void Keep50th(benchmark::State& state) {
    keepFiftieth<test::DiskProfileFile>(state);
}
void Keep50thWithoutFileSystem(benchmark::State& state) {
    keepFiftieth<DryRunProfile>(state);
}
BENCHMARK(Keep50th)->Unit(benchmark::kMicrosecond);
BENCHMARK(Keep50thWithoutFileSystem)->Unit(benchmark::kMicrosecond);

// DEL of the first of 50 entries: both sections removed, 99 writes, one
// rewrite of the file.
template <class Profile>
void deleteFirst(benchmark::State& state) {
    Profile profile;
    KeepBench b(profile);
    b.fill(kEntries);
    b.keep().SaveKeepList(true);
    int round = kEntries;
    for (auto _ : state) {
        b.form().List1.setListIndex(0);
        b.keep().Command4_Click();
        state.PauseTiming();
        b.sim().messageBox.shown.clear();
        b.form().List1.addItem(entryName(round));
        b.form().List2.addItem(entryAddress(round++));
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * (2 * kEntries + 1));
}
void Delete1Of50(benchmark::State& state) {
    deleteFirst<test::DiskProfileFile>(state);
}
void Delete1Of50WithoutFileSystem(benchmark::State& state) {
    deleteFirst<DryRunProfile>(state);
}
BENCHMARK(Delete1Of50)->Unit(benchmark::kMicrosecond);
BENCHMARK(Delete1Of50WithoutFileSystem)->Unit(benchmark::kMicrosecond);

// DEL in a list as long as a count can make it: 65533 writes.
void Delete1Of32767(benchmark::State& state) {
    test::DiskProfileFile profile;
    KeepBench b(profile);
    b.fill(kLargestCount);
    for (auto _ : state) {
        b.form().List1.setListIndex(0);
        b.keep().Command4_Click();
    }
}
BENCHMARK(Delete1Of32767)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kazunavi

BENCHMARK_MAIN();
