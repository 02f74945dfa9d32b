#include "platform/common/ini_profile.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <iterator>

#include "platform/common/unicode_text.h"
#include "platform/failure.h"
#include "support/disk_profile.h"
#include "support/scratch_folder.h"

namespace kazunavi {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;
using Names = std::vector<std::string>;

std::string fileBytes(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void putFile(const fs::path& file, std::string_view bytes) {
    std::ofstream(file, std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));
}

struct stat statusOf(const fs::path& file) {
    struct stat status {};
    EXPECT_EQ(::stat(file.c_str(), &status), 0) << file;
    return status;
}

Names namesIn(const fs::path& folder) {
    Names names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

class IniProfileTest : public ::testing::Test {
  protected:
    std::u16string read(std::u16string_view key, std::u16string_view def = u"", int size = 1024) {
        return profile_.read(file_, u"s", key, def, size);
    }
    void write(std::u16string_view key, std::u16string_view value) {
        profile_.write(file_, u"s", key, value);
    }

    test::DiskProfileFile profile_;
    test::ScratchFolder folder_;
    fs::path file_ = folder_ / "URL.ini";
};

// Values and defaults are cut to the buffer, never inside a double-byte
// character; a value ends at its first NUL or line break.
TEST_F(IniProfileTest, ReadsWithinTheBufferAndWritesNoLinesOfTheirOwn) {
    EXPECT_EQ(read(u"k", u"  pad  "), u"  pad");
    profile_.removeSection(file_, u"s");
    EXPECT_FALSE(fs::exists(file_));  // neither reading nor removing creates it
    const std::pair<int, std::u16string_view> cuts[] = {{4, u"日"}, {3, u"日"}, {2, u""}, {0, u""}};
    for (const auto& [size, expected] : cuts) {
        EXPECT_EQ(read(u"k", u"日本語", size), expected) << size;
    }
    write(u"long", std::u16string(2000, u'x'));
    write(u"name", u"ti\r\n[KeepCount]\r\nCount=99");
    write(u"nul", u"ab"s + u'\0' + u"cd");
    EXPECT_EQ(fileBytes(file_),
              "[s]\r\nlong=" + std::string(2000, 'x') + "\r\nname=ti\r\nnul=ab\r\n");
    EXPECT_EQ(read(u"long"), std::u16string(1023, u'x'));
    EXPECT_EQ(read(u"long", u"", 5), u"xxxx");
    putFile(file_, "[s]\r\nk=ab\0cd\r\n"s);
    EXPECT_EQ(read(u"k"), u"ab");
}

// A new file gets mode 0600 in folders of mode 0700; an existing one is
// replaced whole, keeps its mode, and is followed through a link; no
// temporary file is left, and the same value again leaves the file alone.
TEST_F(IniProfileTest, AWriteReplacesTheFileWholeWithItsMode) {
    const fs::path nested = folder_ / "config" / "kazunavi" / "URL.ini";
    profile_.write(nested, u"KeepCount", u"Count", u"1");
    EXPECT_EQ(fileBytes(nested), "[KeepCount]\r\nCount=1\r\n");
    EXPECT_EQ(statusOf(nested).st_mode & 07777, 0600u);
    EXPECT_EQ(statusOf(folder_ / "config").st_mode & 07777, 0700u);
    EXPECT_EQ(statusOf(nested.parent_path()).st_mode & 07777, 0700u);

    putFile(folder_ / "real.ini", "[s]\r\nk=1\r\n");
    ASSERT_EQ(::chmod((folder_ / "real.ini").c_str(), 0640), 0);
    fs::create_symlink("real.ini", file_);
    std::ifstream reader(folder_ / "real.ini", std::ios::binary);
    write(u"k", u"2");
    EXPECT_EQ(fileBytes(folder_ / "real.ini"), "[s]\r\nk=2\r\n");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(reader), {}), "[s]\r\nk=1\r\n");
    EXPECT_TRUE(fs::is_symlink(file_));
    EXPECT_EQ(statusOf(file_).st_mode & 07777, 0640u);
    const ino_t written = statusOf(file_).st_ino;
    profile_.write(file_, u"S", u"K", u"2");
    EXPECT_EQ(statusOf(file_).st_ino, written);
    EXPECT_EQ(namesIn(folder_.path()), (Names{"URL.ini", "config", "real.ini"}));
}

TEST_F(IniProfileTest, TemporaryFilesOfCutShortSavesGoWithTheNextSave) {
    // Only those of this file's pattern that are old enough: a newer one may
    // belong to a save still running.
    const std::pair<const char*, int> left[] = {{".URL.ini.saving-a1B2c3", 5},
                                                {".URL.ini.saving-d4E5f6", 0},
                                                {".URL.ini.backup", 5},
                                                {".URL.ini.saving-old", 5},
                                                {".o.ini.saving-g7H8i9", 5}};
    for (const auto& [name, minutes] : left) {
        putFile(folder_ / name, "partial");
        fs::last_write_time(folder_ / name,
                            fs::file_time_type::clock::now() - std::chrono::minutes(minutes));
    }
    write(u"k", u"v");
    EXPECT_EQ(namesIn(folder_.path()),
              (Names{".URL.ini.backup", ".URL.ini.saving-d4E5f6", ".URL.ini.saving-old",
                     ".o.ini.saving-g7H8i9", "URL.ini"}));
}

TEST_F(IniProfileTest, AWriteThatCannotBeDoneFailsAndChangesNothing) {
    putFile(folder_ / "plain", "not a folder");
    EXPECT_THROW(profile_.write(folder_ / "plain" / "URL.ini", u"s", u"k", u"v"), Failure);
    EXPECT_THROW(profile_.write("/proc/kazunavi-test/URL.ini", u"s", u"k", u"v"), Failure);
    fs::create_directory(folder_ / "dir");
    EXPECT_THROW(profile_.write(folder_ / "dir", u"s", u"k", u"v"), Failure);
    EXPECT_EQ(profile_.read(folder_ / "dir", u"s", u"k", u"def", 9), u"def");

    // A file size limit makes the disk look full to a child process.
    putFile(file_, "[s]\r\nk=1\r\n");
    const pid_t child = ::fork();
    if (child == 0) {
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{64, 64};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        try {
            write(u"k", std::u16string(500, u'n'));
        } catch (const Failure&) {
            ::_exit(0);
        }
        ::_exit(1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the failure went unreported";
    EXPECT_EQ(fileBytes(file_), "[s]\r\nk=1\r\n");
    EXPECT_EQ(namesIn(folder_.path()), (Names{"URL.ini", "dir", "plain"}));
}

// Each read looks at the file again, also when only its content changed
// within the same second; a profile told to trust the file for a while does
// so for reads, never for writes.
TEST_F(IniProfileTest, ChangesMadeByOtherProgramsAreSeen) {
    putFile(file_, "[s]\r\nk=1\r\n");
    EXPECT_EQ(read(u"k"), u"1");
    putFile(folder_ / "other", "[s]\r\nk=22\r\n");
    fs::rename(folder_ / "other", file_);
    EXPECT_EQ(read(u"k"), u"22");
    const timespec modified = statusOf(file_).st_mtim;
    std::fstream(file_, std::ios::binary | std::ios::in | std::ios::out).seekp(7).write("33", 2);
    const timespec times[2] = {modified, modified};
    ASSERT_EQ(::utimensat(AT_FDCWD, file_.c_str(), times, 0), 0);
    EXPECT_EQ(read(u"k"), u"33");
    fs::remove(file_);
    EXPECT_EQ(read(u"k", u"gone"), u"gone");

    test::DiskProfileFile trusting(std::chrono::hours(1));
    putFile(file_, "[s]\r\nk=1\r\n");
    EXPECT_EQ(trusting.read(file_, u"s", u"k", u"", 9), u"1");
    putFile(file_, "[s]\r\nk=22\r\n");
    EXPECT_EQ(trusting.read(file_, u"s", u"k", u"", 9), u"1");
    trusting.write(file_, u"s", u"o", u"3");
    EXPECT_EQ(fileBytes(file_), "[s]\r\nk=22\r\no=3\r\n");
    EXPECT_EQ(trusting.read(file_, u"s", u"k", u"", 9), u"22");
}

TEST_F(IniProfileTest, AFileWithAByteOrderMarkKeepsItsEncoding) {
    putFile(file_, "\xEF\xBB\xBF[s]\r\nk=日本\r\n");
    EXPECT_EQ(read(u"k"), u"日本");
    write(u"k2", u"語\u00E9");
    EXPECT_EQ(fileBytes(file_), "\xEF\xBB\xBF[s]\r\nk=日本\r\nk2=語?\r\n");
    putFile(file_, "\xFF\xFE" + utf16LeBytes(u"[s]\r\nk=日本\r\n"));
    EXPECT_EQ(read(u"K"), u"日本");
    write(u"k2", u"語");
    EXPECT_EQ(fileBytes(file_), "\xFF\xFE" + utf16LeBytes(u"[s]\r\nk=日本\r\nk2=語\r\n"));
}

// The keep list save: both sections removed or not, then the count and every entry.
void saveKeepList(ProfileFile& profile, const fs::path& file, bool clearFirst) {
    if (clearFirst) {
        profile.removeSection(file, u"KeepCount");
        profile.removeSection(file, u"KeepURL");
    }
    profile.write(file, u"KeepCount", u"Count", u"2");
    for (const std::u16string i : {u"0", u"1"}) {
        profile.write(file, u"KeepURL", u"Name" + i, u"名前" + i);
        profile.write(file, u"KeepURL", u"URL" + i, u"http://example.jp/" + i);
    }
}

TEST_F(IniProfileTest, ABatchedSaveLeavesExactlyTheBytesOfSingleWrites) {
    for (const bool fileExists : {false, true}) {
        for (const bool clearFirst : {false, true}) {
            const fs::path single = folder_ / "single.ini";
            const fs::path batched = folder_ / "batched.ini";
            for (const fs::path& file : {single, batched}) {
                fs::remove(file);
                if (fileExists) {
                    putFile(file,
                            "; kept\r\n[KeepCount]\r\nCount=4\r\n[KeepURL]\r\nName0=a\r\n"
                            "\r\nURL0=b\r\nName3=x\r\n[Other]\r\nz=1\r\n");
                }
            }
            saveKeepList(profile_, single, clearFirst);
            IniProfileFile::Batch batch(profile_, batched);
            saveKeepList(profile_, batched, clearFirst);
            batch.commit();
            EXPECT_EQ(fileBytes(batched), fileBytes(single)) << fileExists << clearFirst;
        }
    }
}

// A batch reads the file as it began with it and its own changes, writes it
// once at the commit and not at all without one; other files go at once.
TEST_F(IniProfileTest, ABatchWritesTheFileOnceAtItsCommit) {
    putFile(file_, "[x]\r\ny=old\r\n");
    const ino_t before = statusOf(file_).st_ino;
    {
        IniProfileFile::Batch batch(profile_, file_);
        saveKeepList(profile_, file_, true);
        putFile(folder_ / "other.ini", "[s]\r\nk=1\r\n");
        profile_.write(folder_ / "other.ini", u"s", u"k", u"v");
        EXPECT_THROW(profile_.beginBatch(folder_ / "other.ini"), Failure);
        putFile(file_, "[x]\r\ny=new\r\n");  // another program's change
        EXPECT_EQ(profile_.read(file_, u"x", u"y", u"", 99), u"old");
        EXPECT_EQ(profile_.read(file_, u"KeepURL", u"Name1", u"", 99), u"名前1");
    }
    EXPECT_EQ(fileBytes(file_), "[x]\r\ny=new\r\n");
    EXPECT_EQ(fileBytes(folder_ / "other.ini"), "[s]\r\nk=v\r\n");
    IniProfileFile::Batch again(profile_, file_);
    saveKeepList(profile_, file_, true);
    EXPECT_EQ(statusOf(file_).st_ino, before);
    again.commit();
    again.commit();  // a second commit does nothing
    EXPECT_EQ(fileBytes(file_),
              "[x]\r\ny=new\r\n[KeepCount]\r\nCount=2\r\n[KeepURL]\r\nName0=\x96\xBC\x91\x4F"
              "0\r\nURL0=http://example.jp/0\r\nName1=\x96\xBC\x91\x4F"
              "1\r\nURL1=http://example.jp/1\r\n");
}

}  // namespace
}  // namespace kazunavi
