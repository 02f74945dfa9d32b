// The INI file of the keep list on this system's real files:
// the profile functions and saves that are killed.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <optional>
#include <random>
#include <thread>

#include "platform/common/ini_document.h"
#include "platform/common/ini_profile.h"
#include "platform/common/plain_file_store.h"
#include "platform/common/unicode_text.h"
#include "platform/failure.h"
#include "platform/linux/posix_file_store.h"
#include "support/disk_profile.h"
#include "support/scratch_folder.h"

namespace kazunavi {
namespace {

namespace fs = std::filesystem;
using namespace std::literals;
using test::fileBytes;
using test::putFile;

using DiskProfile = test::DiskProfileFile;

struct stat statusOf(const fs::path& file) {
    struct stat status {};
    EXPECT_EQ(::stat(file.c_str(), &status), 0) << file;
    return status;
}

// Only its user may read a new list; a link is followed, not replaced.
TEST(IniProfile, ASaveReplacesTheFileWhole) {
    test::ScratchFolder folder, other;
    EXPECT_NE(folder.path(), other.path());
    DiskProfile profile;
    const fs::path nested = folder / "new" / "URL.ini", file = folder / "URL.ini";
    profile.write(nested, u"s", u"k", u"ab"s + u'\0' + u"cd");
    EXPECT_EQ(fileBytes(nested), "[s]\r\nk=ab\r\n");  // a value ends at a NUL
    EXPECT_EQ(
        statusOf(nested).st_mode % 01000 * 01000 + statusOf(nested.parent_path()).st_mode % 01000,
        0600700u);
    putFile(folder / "r", "[s]\r\nk=1\r\n");
    ASSERT_EQ(::chmod((folder / "r").c_str(), 0640), 0);
    fs::create_symlink("r", file);
    profile.write(file, u"s", u"k", u"2");
    EXPECT_EQ(fileBytes(folder / "r"), "[s]\r\nk=2\r\n");
    EXPECT_EQ(statusOf(file).st_mode & 07777, 0640u);
    // Another user's file keeps its owner (only root may give a file away).
    if (::geteuid() == 0) {
        ASSERT_EQ(::chown((folder / "r").c_str(), 1234, 1234), 0);
        profile.write(file, u"s", u"k", u"3");
        EXPECT_EQ(statusOf(folder / "r").st_uid * 10000 + statusOf(folder / "r").st_gid, 12341234u);
    }
    // A file made read-only and a folder in the file's place stay as they are,
    // and a failed save leaves no file of its own behind.
    ASSERT_EQ(::chmod((folder / "r").c_str(), 0444), 0);
    const std::string before = fileBytes(folder / "r");
    EXPECT_THROW(profile.write(file, u"s", u"k", u"4"), Failure);
    EXPECT_EQ(fileBytes(folder / "r"), before);
    fs::create_directory(folder / "d.ini");
    EXPECT_THROW(PosixFileStore().replace(folder / "d.ini", "[s]\r\n"), Failure);
    EXPECT_EQ(PosixFileStore().identity(folder / "r" / "URL.ini"), std::nullopt);  // below a file
    EXPECT_EQ(PosixFileStore().read(folder / "r")->identity,
              PosixFileStore().identity(folder / "r"));
    // A regular file whose bytes cannot be read.
    EXPECT_THROW(PosixFileStore().read("/proc/self/mem"), Failure);
    EXPECT_THROW(PlainFileStore().read("/proc/self/mem"), Failure);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), {}), 4);
    // A name that cannot be examined (a link to itself) is no missing file.
    fs::create_symlink("loop", folder / "loop");
    try {
        PosixFileStore().identity(folder / "loop");
        ADD_FAILURE() << "a link to itself was examined";
    } catch (const Failure& e) {
        EXPECT_NE(std::string(e.what()).find("cannot examine"), std::string::npos) << e.what();
    }
    fs::remove(folder / "loop");
    // Written by another user: in place where the file allows it, else not.
    if (::geteuid() == 0) {
        ASSERT_EQ(::chmod(folder.path().c_str(), 0777), 0);
        putFile(folder / "shared", "old");
        putFile(folder / "private", "old");
        ASSERT_EQ(::chmod((folder / "shared").c_str(), 0666), 0);
        const pid_t child = ::fork();
        if (child == 0) {
            bool done = ::setgid(65534) == 0 && ::setuid(65534) == 0;
            for (const char* name : {"shared", "private"}) {
                try {
                    PosixFileStore().replace(folder / name, "new");
                    done = done && name == "shared"s;
                } catch (const Failure&) {
                    done = done && name == "private"s;
                }
            }
            ::_exit(done ? 0 : 1);
        }
        int status = -1;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_EQ(status, 0);
        EXPECT_EQ(fileBytes(folder / "shared") + fileBytes(folder / "private"), "newold");
        EXPECT_EQ(statusOf(folder / "shared").st_uid + (statusOf(folder / "shared").st_mode & 0777),
                  0666u);
    }
}

// Also a change within the same second; a profile that trusts its cache for
// a while does so for reads only. A byte order mark keeps its encoding, and so
// does a UTF-8 file without one, whose text is Unicode throughout; bytes that
// code page 932 cannot decode are written back as they were.
TEST(IniProfile, ChangesMadeByOtherProgramsAreSeen) {
    test::ScratchFolder folder;
    DiskProfile profile, trusting(std::chrono::hours(1));
    const fs::path file = folder / "URL.ini";
    const auto read = [&file](IniProfileFile& p, const char16_t* key = u"k") {
        return p.read(file, u"s", key, u"-", 9);
    };
    putFile(folder / "e.ini", "[s]\r\ne=😀\r\n");
    EXPECT_EQ(profile.read(folder / "e.ini", u"s", u"e", u"-", 2), u"");  // never half a character
    putFile(file, "\xEF\xBB\xBF[s]\r\nk=1\r\n");
    EXPECT_EQ(read(profile) + read(trusting), u"11");
    const timespec modified = statusOf(file).st_mtim, times[2] = {modified, modified};
    std::fstream(file, std::ios::binary | std::ios::in | std::ios::out).seekp(10).write("3", 1);
    ASSERT_EQ(::utimensat(AT_FDCWD, file.c_str(), times, 0), 0);
    EXPECT_EQ(read(profile) + read(trusting), u"31");
    fs::remove(file);  // removed by another program: read as missing
    EXPECT_EQ(read(profile), u"-");
    putFile(file, "\xFF\xFE" + utf16LeBytes(u"[s]\r\nk=本") + "!");  // half a code unit at the end
    EXPECT_EQ(read(profile), u"本?");
    putFile(file, "\xFF\xFE" + utf16LeBytes(u"[s]\r\nk=本\r\n"));
    trusting.write(file, u"s", u"o", u"語\u00E9");
    EXPECT_EQ(fileBytes(file), "\xFF\xFE" + utf16LeBytes(u"[s]\r\nk=本\r\no=語?\r\n"));
    EXPECT_EQ(read(trusting, u"o"), u"語?");  // its own writes it knows at once
    putFile(file, "\xEF\xBB\xBF[s]\r\nk=本\r\n");
    ProfileBatch batch(trusting, file);  // a batch, too, starts from the file
    EXPECT_EQ(read(trusting), u"本");
    trusting.write(file, u"s", u"o", u"3");
    batch.commit();
    EXPECT_EQ(fileBytes(file), "\xEF\xBB\xBF[s]\r\nk=本\r\no=3\r\n");
    for (const std::string& text : {"[s]\r\nk=\x80\xA0\xFD\xFE\xFF\xED\x40\x81"s,
                                    "\xEF\xBB\xBF[s]\r\nk=\x80\xFF\xC3é"s, "[s]\r\nk=é 😀"s}) {
        putFile(file, text);
        profile.write(file, u"s", u"k", profile.read(file, u"s", u"k", u"", 99));
        EXPECT_EQ(fileBytes(file), text + "\r\n");
    }
    EXPECT_EQ(profile.read(file, u"s", u"k", u"", 4) + profile.read(file, u"s", u"x", u"'q' ", 9),
              u"é q");
}

// Old or new, never torn; the next start finds no temporary file left.
TEST(IniCrash, AKilledSaveLeavesTheOldOrTheNewFileWhole) {
    test::ScratchFolder folder;
    const fs::path file = folder / "URL.ini";
    // A keep list of 50 entries saved anew; the two differ in every entry.
    const auto save = [&file](IniProfileFile& p, int variant) {
        const std::u16string tag = variant == 0 ? u"前" : u"後のページ/photos/large_image?";
        ProfileBatch batch(p, file);
        p.removeSection(file, u"KeepURL");
        for (char16_t i = 0; i < 50; ++i) {
            const std::u16string n = {char16_t(u'A' + i / 10), char16_t(u'0' + i % 10)};
            p.write(file, u"KeepURL", u"Name" + n, tag + n);
            p.write(file, u"KeepURL", u"URL" + n, u"http://www.example.co.jp/" + tag + n);
        }
        batch.commit();
    };
    DiskProfile profile;
    save(profile, 1);
    const std::string second = fileBytes(file);
    const auto started = std::chrono::steady_clock::now();
    save(profile, 0);
    const std::string first = fileBytes(file);
    // Kills land anywhere in the first saves of a child; while one of the
    // contents has not turned up, they may land later.
    auto window = std::max(2000us, std::chrono::duration_cast<std::chrono::microseconds>(
                                       (std::chrono::steady_clock::now() - started) * 2));
    std::mt19937 random(20240601);
    int seen[2] = {0, 0};
    for (int round = 0; round < 300 && !(round > 100 && seen[0] * seen[1] > 0); ++round) {
        window *= round % 20 == 19 && seen[0] * seen[1] == 0 ? 2 : 1;
        const pid_t child = ::fork();
        for (int variant = 1; child == 0; variant ^= 1) {
            DiskProfile saver;
            save(saver, variant);
        }
        std::this_thread::sleep_for(std::chrono::microseconds(
            std::uniform_int_distribution<long>(0, window.count())(random)));
        ::kill(child, SIGKILL);
        ASSERT_EQ(::waitpid(child, nullptr, 0), child);
        const std::string now = fileBytes(file);
        ASSERT_TRUE(now == first || now == second) << "torn after round " << round;
        ++seen[now == first ? 0 : 1];
    }
    EXPECT_GT(seen[0] * seen[1], 0) << "the kills did not hit saves in progress";
    // The next start removes what the killed saves left.
    DiskProfile next;
    EXPECT_NE(next.read(file, u"KeepURL", u"NameA0", u"", 9), u"");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), {}), 1);
}

}  // namespace
}  // namespace kazunavi
