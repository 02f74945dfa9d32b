// A save that is killed at any moment leaves the keep list file either as it
// was or as the save meant it, never anything in between.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <thread>

#include "platform/common/ini_profile.h"
#include "support/disk_profile.h"
#include "support/scratch_folder.h"

namespace kazunavi {
namespace {

namespace fs = std::filesystem;

std::string fileBytes(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::u16string number(int i) {
    const std::string digits = std::to_string(i);
    return std::u16string(digits.begin(), digits.end());
}

// A 50-entry keep list save as one batch; the two variants differ in every
// entry and in length.
void saveKeepList(IniProfileFile& profile, const fs::path& file, int variant) {
    constexpr int kEntries = 50;
    const std::u16string tag = variant == 0 ? u"前" : u"後のページ";
    ProfileBatch batch(profile, file);
    profile.removeSection(file, u"KeepCount");
    profile.removeSection(file, u"KeepURL");
    profile.write(file, u"KeepCount", u"Count", number(kEntries));
    for (int i = 0; i < kEntries; ++i) {
        profile.write(file, u"KeepURL", u"Name" + number(i), tag + u"の名前 " + number(i));
        profile.write(file, u"KeepURL", u"URL" + number(i),
                      u"http://www.example.co.jp/gallery/2024/summer/" + tag + u"/photos/" +
                          number(i) + u"/large_image_viewer.html?from=kazunavi&size=original");
    }
    batch.commit();
}

TEST(IniCrashTest, AKilledSaveLeavesTheOldOrTheNewFileWhole) {
    test::ScratchFolder folder;
    const fs::path file = folder / "URL.ini";

    test::DiskProfileFile profile;
    saveKeepList(profile, file, 1);
    const std::string second = fileBytes(file);
    const auto started = std::chrono::steady_clock::now();
    saveKeepList(profile, file, 0);
    const auto saveTime = std::chrono::steady_clock::now() - started;
    const std::string first = fileBytes(file);
    ASSERT_NE(first, second);
    ASSERT_GT(first.size(), 4000u);

    // Kills land anywhere in the first two saves of the child.
    auto killWindow = std::max<std::chrono::microseconds>(
        std::chrono::duration_cast<std::chrono::microseconds>(saveTime * 2),
        std::chrono::milliseconds(2));
    std::mt19937 random(20240601);
    std::uniform_int_distribution<std::int64_t> killAfter(0, killWindow.count());
    int sawFirst = 0;
    int sawSecond = 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(8);
    int round = 0;
    for (; round < 300 && std::chrono::steady_clock::now() < deadline; ++round) {
        // A child's first save may well be slower than the parent's second:
        // while one of the contents has not turned up, the window widens.
        if (round % 20 == 19 && (sawFirst == 0 || sawSecond == 0)) {
            killWindow *= 2;
            killAfter.param(decltype(killAfter)::param_type(0, killWindow.count()));
        }
        int ready[2];
        ASSERT_EQ(::pipe(ready), 0);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            // Saves until it is killed, switching between the two lists.
            try {
                test::DiskProfileFile saver;
                ::close(ready[0]);
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
        std::this_thread::sleep_for(std::chrono::microseconds(killAfter(random)));
        ::kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the saving process ended by itself in round " << round;

        const std::string now = fileBytes(file);
        if (now == first) {
            ++sawFirst;
        } else if (now == second) {
            ++sawSecond;
        } else {
            FAIL() << "torn file after round " << round << ": " << now.size() << " bytes";
        }
    }
    // Both contents turned up, so the kills did hit saves in progress.
    EXPECT_GT(sawFirst, 0);
    EXPECT_GT(sawSecond, 0);
    RecordProperty("rounds", round);
}

}  // namespace
}  // namespace kazunavi
