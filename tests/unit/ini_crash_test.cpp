// A save killed at any moment leaves the keep list file either as it was or
// as the save meant it, never anything in between.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <random>
#include <thread>

#include "support/disk_profile.h"
#include "support/scratch_folder.h"

namespace kazunavi {
namespace {

namespace fs = std::filesystem;

std::string fileBytes(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// A 50-entry keep list saved as one batch; the variants differ in every
// entry and in length.
void saveKeepList(IniProfileFile& profile, const fs::path& file, int variant) {
    const std::u16string tag = variant == 0 ? u"前" : u"後のページ";
    IniProfileFile::Batch batch(profile, file);
    profile.removeSection(file, u"KeepURL");
    profile.write(file, u"KeepCount", u"Count", u"50");
    for (char16_t i = 0; i < 50; ++i) {
        const std::u16string n = {char16_t(u'A' + i / 10), char16_t(u'0' + i % 10)};
        profile.write(file, u"KeepURL", u"Name" + n, tag + u"の名前 " + n);
        profile.write(file, u"KeepURL", u"URL" + n,
                      u"http://www.example.co.jp/gallery/" + tag + u"/photos/" + n +
                          u"/large_image_viewer.html?from=kazunavi&size=original");
    }
    batch.commit();
}

TEST(IniCrash, AKilledSaveLeavesTheOldOrTheNewFileWhole) {
    test::ScratchFolder folder;
    const fs::path file = folder / "URL.ini";
    test::DiskProfileFile profile;
    saveKeepList(profile, file, 1);
    const std::string second = fileBytes(file);
    const auto started = std::chrono::steady_clock::now();
    saveKeepList(profile, file, 0);
    auto window =
        std::max<std::chrono::microseconds>(std::chrono::duration_cast<std::chrono::microseconds>(
                                                (std::chrono::steady_clock::now() - started) * 2),
                                            std::chrono::milliseconds(2));
    const std::string first = fileBytes(file);
    ASSERT_GT(first.size(), 4000u);

    std::mt19937 random(20240601);
    int sawFirst = 0, sawSecond = 0, round = 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(8);
    for (; round < 300 && std::chrono::steady_clock::now() < deadline; ++round) {
        // A child's first save may be slower than the parent's: while one
        // content has not turned up, the kills may land later.
        if (round % 20 == 19 && (sawFirst == 0 || sawSecond == 0)) {
            window *= 2;
        }
        int ready[2];
        ASSERT_EQ(::pipe(ready), 0);
        const pid_t child = ::fork();
        if (child == 0) {  // saves, switching between the lists, until killed
            try {
                test::DiskProfileFile saver;
                ::close(ready[1]);  // tells the parent that saving starts now
                for (int variant = 1;; variant ^= 1) {
                    saveKeepList(saver, file, variant);
                }
            } catch (...) {
            }
            ::_exit(1);
        }
        ::close(ready[1]);
        char ignored = 0;
        ASSERT_EQ(::read(ready[0], &ignored, 1), 0);
        ::close(ready[0]);
        std::this_thread::sleep_for(std::chrono::microseconds(
            std::uniform_int_distribution<std::int64_t>(0, window.count())(random)));
        ::kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the saving process ended by itself";
        const std::string now = fileBytes(file);
        sawFirst += now == first;
        sawSecond += now == second;
        ASSERT_TRUE(now == first || now == second) << "torn after round " << round;
    }
    // Both contents turned up, so the kills did hit saves in progress.
    EXPECT_GT(sawFirst, 0);
    EXPECT_GT(sawSecond, 0);
}

}  // namespace
}  // namespace kazunavi
