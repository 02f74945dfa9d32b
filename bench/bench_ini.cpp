// Speed of the keep list file: loading and saving 50 entries, the reads of a
// file whose count promises 32767 entries, and the code page conversion.

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/common/cp932.h"
#include "platform/common/ini_profile.h"
#include "platform/common/plain_file_store.h"
#include "support/disk_profile.h"

namespace kazunavi {
namespace {

namespace fs = std::filesystem;

// Reads in a burst trust the parsed file this long: a load of thousands of
// keys costs one look at the file.
constexpr std::chrono::milliseconds kBurstRecheckInterval{50};

constexpr int kEntries = 50;

std::u16string number(int i) {
    const std::string digits = std::to_string(i);
    return std::u16string(digits.begin(), digits.end());
}

// About 100 bytes each in code page 932; the two variants make every save a
// real change of the file.
std::u16string entryName(int i, int variant) {
    return (variant ? u"お気に入りのギャラリー写真集　第" : u"お気に入りの写真ギャラリー集　第") +
           number(i) + u"巻　（夏の特集号・高画質版）";
}
std::u16string entryAddress(int i, int variant) {
    return u"http://www.example.co.jp/gallery/2024/" +
           std::u16string(variant ? u"summer" : u"winter") + u"/photos/" + number(i) +
           u"/large_image_viewer.html?from=kazunavi";
}

// The keep list routines as the program runs them.
void loadKeepList(ProfileFile& profile, const fs::path& file) {
    const std::u16string count = profile.read(file, u"KeepCount", u"Count", u"0", 1024);
    const int n = std::stoi(std::string(count.begin(), count.end()));
    for (int i = 0; i < n; ++i) {
        benchmark::DoNotOptimize(profile.read(file, u"KeepURL", u"Name" + number(i), u"", 1024));
        benchmark::DoNotOptimize(profile.read(file, u"KeepURL", u"URL" + number(i), u"", 1024));
    }
}

void saveKeepList(ProfileFile& profile, const fs::path& file, bool clearFirst, int variant) {
    if (clearFirst) {
        profile.removeSection(file, u"KeepCount");
        profile.removeSection(file, u"KeepURL");
    }
    profile.write(file, u"KeepCount", u"Count", number(kEntries));
    for (int i = 0; i < kEntries; ++i) {
        profile.write(file, u"KeepURL", u"Name" + number(i), entryName(i, variant));
        profile.write(file, u"KeepURL", u"URL" + number(i), entryAddress(i, variant));
    }
}

// A scratch folder with URL.ini, last changed an hour ago as at a start-up.
class KeepListFile : public benchmark::Fixture {
  public:
    void SetUp(const benchmark::State&) override {
        folder_ = makeTemporaryFolder("kazunavi-bench-");
        file_ = folder_ / "URL.ini";
    }
    void TearDown(const benchmark::State&) override { fs::remove_all(folder_); }

  protected:
    void ageFile() {
        fs::last_write_time(file_, fs::file_time_type::clock::now() - std::chrono::hours(1));
    }
    void writeList() {
        test::DiskProfileFile profile;
        saveKeepList(profile, file_, false, 0);
        ageFile();
    }

    fs::path folder_;
    fs::path file_;
};

BENCHMARK_F(KeepListFile, Load50Entries)(benchmark::State& state) {
    writeList();
    for (auto _ : state) {
        // A fresh start, as the program sets it up: the file is read and parsed.
        test::DiskProfileFile profile(kBurstRecheckInterval);
        loadKeepList(profile, file_);
    }
    state.SetItemsProcessed(state.iterations() * (2 * kEntries + 1));
}

BENCHMARK_F(KeepListFile, Save50EntriesAsOneBatch)(benchmark::State& state) {
    writeList();
    test::DiskProfileFile profile;
    int round = 0;
    for (auto _ : state) {
        ++round;
        ProfileBatch batch(profile, file_);
        saveKeepList(profile, file_, round % 4 < 2, round % 2);  // as DEL and KEEP do
        batch.commit();
    }
    state.SetItemsProcessed(state.iterations() * (2 * kEntries + 1));
}

BENCHMARK_F(KeepListFile, Save50EntriesWriteByWrite)(benchmark::State& state) {
    writeList();
    test::DiskProfileFile profile;
    int round = 0;
    for (auto _ : state) {
        saveKeepList(profile, file_, true, ++round % 2);
    }
    state.SetItemsProcessed(state.iterations() * (2 * kEntries + 3));
}

// Count=32767 in a file without entries: 65534 reads of missing keys, with
// the program's setting and with a look at the file at every read.
void loadCount32767(benchmark::State& state, const fs::path& file,
                    std::chrono::milliseconds recheckInterval) {
    for (auto _ : state) {
        test::DiskProfileFile profile(recheckInterval);
        loadKeepList(profile, file);
    }
    state.SetItemsProcessed(state.iterations() * (2 * 32767 + 1));
}

BENCHMARK_F(KeepListFile, LoadCount32767WithoutEntries)(benchmark::State& state) {
    std::ofstream(file_, std::ios::binary) << "[KeepCount]\r\nCount=32767\r\n";
    ageFile();
    loadCount32767(state, file_, kBurstRecheckInterval);
}

BENCHMARK_F(KeepListFile, LoadCount32767LookingAtEveryRead)(benchmark::State& state) {
    std::ofstream(file_, std::ios::binary) << "[KeepCount]\r\nCount=32767\r\n";
    ageFile();
    loadCount32767(state, file_, std::chrono::milliseconds(0));
}

std::u16string tenMegabytesOfText() {
    const std::u16string piece = u"日本語のテキストと ASCII text, ｶﾀｶﾅ; ";
    std::u16string text;
    while (text.size() * 2 < 10'000'000) {
        text += piece;
    }
    return text;
}

void Cp932Encode10MB(benchmark::State& state) {
    const std::u16string text = tenMegabytesOfText();
    for (auto _ : state) {
        benchmark::DoNotOptimize(toCp932(text));
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text.size() * 2));
}
BENCHMARK(Cp932Encode10MB)->Unit(benchmark::kMillisecond);

void Cp932Decode10MB(benchmark::State& state) {
    const std::string bytes = toCp932(tenMegabytesOfText());
    for (auto _ : state) {
        benchmark::DoNotOptimize(fromCp932(bytes));
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(bytes.size()));
}
BENCHMARK(Cp932Decode10MB)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kazunavi

BENCHMARK_MAIN();
