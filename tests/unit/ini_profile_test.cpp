#include "platform/common/ini_profile.h"
#include "support/disk_profile.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/common/unicode_text.h"
#include "platform/failure.h"
#include "support/scratch_folder.h"

namespace kazunavi {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

std::string fileBytes(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void putFile(const fs::path& file, std::string_view bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

struct stat statusOf(const fs::path& file) {
    struct stat status {};
    EXPECT_EQ(::stat(file.c_str(), &status), 0) << file;
    return status;
}

std::vector<std::string> namesIn(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

class IniProfileTest : public ::testing::Test {
  protected:
    std::u16string read(std::u16string_view section, std::u16string_view key,
                        std::u16string_view def = u"", int size = 1024) {
        return profile_.read(file_, section, key, def, size);
    }
    void write(std::u16string_view section, std::u16string_view key, std::u16string_view value) {
        profile_.write(file_, section, key, value);
    }

    test::DiskProfileFile profile_;
    test::ScratchFolder folder_;
    fs::path file_ = folder_ / "URL.ini";
};

TEST_F(IniProfileTest, AMissingFileGivesTheDefaultAndIsNotCreatedByReadingOrRemoving) {
    EXPECT_EQ(read(u"KeepCount", u"Count", u"0"), u"0");
    EXPECT_EQ(read(u"KeepURL", u"Name0"), u"");
    profile_.removeSection(file_, u"KeepURL");
    EXPECT_FALSE(fs::exists(file_));
}

TEST_F(IniProfileTest, TheDefaultLosesItsTrailingSpacesAndFitsTheBuffer) {
    EXPECT_EQ(read(u"s", u"k", u"  pad  "), u"  pad");
    EXPECT_EQ(read(u"s", u"k", u"日本語", 4), u"日");
    EXPECT_EQ(read(u"s", u"k", u"日本語", 3), u"日");
    EXPECT_EQ(read(u"s", u"k", u"日本語", 2), u"");
    EXPECT_EQ(read(u"s", u"k", u"abc", 1), u"");
    EXPECT_EQ(read(u"s", u"k", u"abc", 0), u"");
}

TEST_F(IniProfileTest, ALongValueIsStoredWholeAndComesBackCutToTheBuffer) {
    write(u"KeepURL", u"URL0", std::u16string(2000, u'x'));
    EXPECT_EQ(read(u"KeepURL", u"URL0"), std::u16string(1023, u'x'));
    EXPECT_EQ(read(u"KeepURL", u"URL0", u"", 5), u"xxxx");
    std::string line("URL0=");
    line.append(2000, 'x').append("\r\n");
    EXPECT_NE(fileBytes(file_).find(line), std::string::npos);
}

TEST_F(IniProfileTest, ValuesEndAtTheirFirstNulOrLineBreak) {
    write(u"KeepURL", u"Name0", u"title\r\n[KeepCount]\r\nCount=99");
    write(u"KeepURL", u"Name1", u"ab"s + u'\0' + u"cd");
    EXPECT_EQ(fileBytes(file_), "[KeepURL]\r\nName0=title\r\nName1=ab\r\n");
    putFile(file_, "[s]\r\nk=ab\0cd\r\n"s);
    EXPECT_EQ(read(u"s", u"k"), u"ab");
}

TEST_F(IniProfileTest, ANewFileGetsMode0600AndMissingFoldersMode0700) {
    const fs::path nested = folder_ / "config" / "kazunavi" / "URL.ini";
    profile_.write(nested, u"KeepCount", u"Count", u"1");
    EXPECT_EQ(fileBytes(nested), "[KeepCount]\r\nCount=1\r\n");
    EXPECT_EQ(statusOf(nested).st_mode & 07777, 0600u);
    EXPECT_EQ(statusOf(folder_ / "config").st_mode & 07777, 0700u);
    EXPECT_EQ(statusOf(folder_ / "config" / "kazunavi").st_mode & 07777, 0700u);
}

TEST_F(IniProfileTest, AnExistingFileIsReplacedWholeAndKeepsItsMode) {
    putFile(file_, "[KeepCount]\r\nCount=1\r\n");
    ASSERT_EQ(::chmod(file_.c_str(), 0640), 0);
    std::ifstream reader(file_, std::ios::binary);  // a reader that opened the old file
    write(u"KeepCount", u"Count", u"2");
    write(u"KeepURL", u"Name0", u"x");
    EXPECT_EQ(fileBytes(file_), "[KeepCount]\r\nCount=2\r\n[KeepURL]\r\nName0=x\r\n");
    // ... still reads the old content whole: the file was replaced, not overwritten.
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(reader), std::istreambuf_iterator<char>()),
              "[KeepCount]\r\nCount=1\r\n");
    EXPECT_EQ(statusOf(file_).st_mode & 07777, 0640u);
    EXPECT_EQ(namesIn(folder_.path()),
              std::vector<std::string>{"URL.ini"});  // no temporary file left
}

TEST_F(IniProfileTest, TemporaryFilesLeftByCutShortSavesAreRemovedByTheNextSave) {
    const auto aged = [&](const std::string& name, std::chrono::minutes age) {
        putFile(folder_ / name, "partial");
        fs::last_write_time(folder_ / name, fs::file_time_type::clock::now() - age);
    };
    aged(".URL.ini.saving-a1B2c3", std::chrono::minutes(5));    // left by a killed save
    aged(".URL.ini.saving-d4E5f6", std::chrono::minutes(0));    // a save that may still run
    aged(".URL.ini.backup", std::chrono::minutes(5));           // the user's own
    aged(".URL.ini.saving-old", std::chrono::minutes(5));       // not of the pattern
    aged(".other.ini.saving-g7H8i9", std::chrono::minutes(5));  // another file's
    write(u"s", u"k", u"v");
    EXPECT_EQ(
        namesIn(folder_.path()),
        (std::vector<std::string>{".URL.ini.backup", ".URL.ini.saving-d4E5f6",
                                  ".URL.ini.saving-old", ".other.ini.saving-g7H8i9", "URL.ini"}));
}

TEST_F(IniProfileTest, WritingTheSameValueAgainLeavesTheFileAlone) {
    write(u"KeepCount", u"Count", u"1");
    const ino_t before = statusOf(file_).st_ino;
    write(u"keepcount", u"count", u"1");
    EXPECT_EQ(statusOf(file_).st_ino, before);
}

TEST_F(IniProfileTest, AWriteThatCannotBeDoneFailsAndChangesNothing) {
    putFile(folder_ / "plain", "not a folder");
    EXPECT_THROW(profile_.write(folder_ / "plain" / "URL.ini", u"s", u"k", u"v"), Failure);
    EXPECT_THROW(profile_.write("/proc/kazunavi-test/URL.ini", u"s", u"k", u"v"), Failure);

    fs::create_directory(file_);  // a folder where the file should be
    EXPECT_EQ(read(u"s", u"k", u"def"), u"def");
    EXPECT_THROW(write(u"s", u"k", u"v"), Failure);
}

TEST_F(IniProfileTest, AFullDiskFailsTheWriteAndKeepsTheOldFile) {
    const std::string old = "[KeepCount]\r\nCount=1\r\n";
    putFile(file_, old);
    // A file size limit makes the disk look full to a child process.
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{64, 64};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        try {
            test::DiskProfileFile profile;
            profile.write(file_, u"KeepURL", u"Name0", std::u16string(500, u'n'));
        } catch (const Failure&) {
            ::_exit(0);
        }
        ::_exit(1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the write did not report its failure";
    EXPECT_EQ(fileBytes(file_), old);
    EXPECT_EQ(namesIn(folder_.path()), std::vector<std::string>{"URL.ini"});
}

TEST_F(IniProfileTest, ASymbolicLinkIsFollowedNotReplaced) {
    putFile(folder_ / "real.ini", "[s]\r\nk=1\r\n");
    fs::create_symlink("real.ini", file_);
    write(u"s", u"k", u"2");
    EXPECT_TRUE(fs::is_symlink(file_));
    EXPECT_EQ(fileBytes(folder_ / "real.ini"), "[s]\r\nk=2\r\n");
}

TEST_F(IniProfileTest, ChangesMadeByOtherProgramsAreSeen) {
    putFile(file_, "[s]\r\nk=1\r\n");
    EXPECT_EQ(read(u"s", u"k"), u"1");
    putFile(file_, "[s]\r\nk=22\r\n");  // another size
    EXPECT_EQ(read(u"s", u"k"), u"22");
    putFile(folder_ / "other", "[s]\r\nk=33\r\n");  // another file renamed over it
    fs::rename(folder_ / "other", file_);
    EXPECT_EQ(read(u"s", u"k"), u"33");
    fs::remove(file_);
    EXPECT_EQ(read(u"s", u"k", u"gone"), u"gone");

    // Same size and the same modification time: a file changed so recently
    // is read again all the same.
    putFile(file_, "[s]\r\nk=44\r\n");
    EXPECT_EQ(read(u"s", u"k"), u"44");
    const timespec modified = statusOf(file_).st_mtim;
    {
        std::fstream inPlace(file_, std::ios::binary | std::ios::in | std::ios::out);
        inPlace.seekp(7);
        inPlace.write("55", 2);
    }
    const timespec times[2] = {modified, modified};
    ASSERT_EQ(::utimensat(AT_FDCWD, file_.c_str(), times, 0), 0);
    EXPECT_EQ(read(u"s", u"k"), u"55");

    // A write starts from what the file holds now.
    putFile(file_, "[s]\r\nother=1\r\n");
    write(u"s", u"k", u"6");
    EXPECT_EQ(fileBytes(file_), "[s]\r\nother=1\r\nk=6\r\n");
}

TEST_F(IniProfileTest, ReadsInABurstTrustTheFileButAWriteAlwaysLooksAgain) {
    test::DiskProfileFile program(std::chrono::hours(1));
    putFile(file_, "[s]\r\nk=1\r\n");
    EXPECT_EQ(program.read(file_, u"s", u"k", u"", 1024), u"1");
    putFile(file_, "[s]\r\nk=22\r\n");
    EXPECT_EQ(program.read(file_, u"s", u"k", u"", 1024), u"1");  // within the interval
    program.write(file_, u"s", u"other", u"3");
    EXPECT_EQ(fileBytes(file_), "[s]\r\nk=22\r\nother=3\r\n");
    EXPECT_EQ(program.read(file_, u"s", u"k", u"", 1024), u"22");
}

TEST_F(IniProfileTest, AFileWithAByteOrderMarkKeepsItsEncoding) {
    putFile(file_, "\xEF\xBB\xBF[KeepCount]\r\nCount=1\r\n[KeepURL]\r\nName0=日本\r\n");
    EXPECT_EQ(read(u"KeepCount", u"Count", u"0"), u"1");
    EXPECT_EQ(read(u"KeepURL", u"Name0"), u"日本");
    write(u"KeepURL", u"URL0", u"語\u00E9");
    EXPECT_EQ(fileBytes(file_),
              "\xEF\xBB\xBF[KeepCount]\r\nCount=1\r\n[KeepURL]\r\nName0=日本\r\nURL0=語?\r\n");

    putFile(file_, "\xFF\xFE" + utf16LeBytes(u"[s]\r\nk=日本\r\n"));
    EXPECT_EQ(read(u"S", u"K"), u"日本");
    write(u"s", u"k2", u"語");
    EXPECT_EQ(fileBytes(file_), "\xFF\xFE" + utf16LeBytes(u"[s]\r\nk=日本\r\nk2=語\r\n"));
}

// The keep list save: optionally both sections removed, then the count and
// every entry.
void saveKeepList(ProfileFile& profile, const fs::path& file, int entries, bool clearFirst,
                  const std::u16string& tag) {
    if (clearFirst) {
        profile.removeSection(file, u"KeepCount");
        profile.removeSection(file, u"KeepURL");
    }
    const auto number = [](int i) {
        const std::string digits = std::to_string(i);
        return std::u16string(digits.begin(), digits.end());
    };
    profile.write(file, u"KeepCount", u"Count", number(entries));
    for (int i = 0; i < entries; ++i) {
        profile.write(file, u"KeepURL", u"Name" + number(i), tag + u"名前" + number(i));
        profile.write(file, u"KeepURL", u"URL" + number(i),
                      u"http://example.jp/" + tag + number(i));
    }
}

TEST_F(IniProfileTest, ABatchedSaveLeavesExactlyTheBytesOfSingleWrites) {
    const std::string existing =
        "; kept\r\n[KeepCount]\r\nCount=4\r\n[KeepURL]\r\nName0=a\r\n\r\nURL0=b\r\nName3=x\r\n"
        "URL3=y\r\n[Other]\r\nz=1\r\n";
    for (const bool fileExists : {false, true}) {
        for (const bool clearFirst : {false, true}) {
            const fs::path single = folder_ / "single.ini";
            const fs::path batched = folder_ / "batched.ini";
            fs::remove(single);
            fs::remove(batched);
            if (fileExists) {
                putFile(single, existing);
                putFile(batched, existing);
            }
            saveKeepList(profile_, single, 3, clearFirst, u"s");
            {
                ProfileBatch batch(profile_, batched);
                saveKeepList(profile_, batched, 3, clearFirst, u"s");
                batch.commit();
            }
            EXPECT_EQ(fileBytes(batched), fileBytes(single))
                << "file existed: " << fileExists << ", cleared first: " << clearFirst;
        }
    }
}

TEST_F(IniProfileTest, ABatchWritesTheFileOnceAndItsReadsSeeTheBatchedText) {
    putFile(file_, "[KeepCount]\r\nCount=0\r\n");
    const ino_t before = statusOf(file_).st_ino;
    profile_.beginBatch(file_);
    saveKeepList(profile_, file_, 2, true, u"b");
    EXPECT_EQ(read(u"KeepCount", u"Count"), u"2");
    EXPECT_EQ(read(u"KeepURL", u"Name1"), u"b名前1");
    EXPECT_EQ(fileBytes(file_), "[KeepCount]\r\nCount=0\r\n");  // untouched so far
    EXPECT_EQ(statusOf(file_).st_ino, before);
    // Other files are written at once.
    profile_.write(folder_ / "other.ini", u"s", u"k", u"v");
    EXPECT_EQ(fileBytes(folder_ / "other.ini"), "[s]\r\nk=v\r\n");
    EXPECT_THROW(profile_.beginBatch(folder_ / "other.ini"), Failure);
    profile_.commitBatch();
    EXPECT_EQ(fileBytes(file_),
              "[KeepCount]\r\nCount=2\r\n[KeepURL]\r\nName0=b\x96\xBC\x91\x4F\x30\r\n"
              "URL0=http://example.jp/b0\r\nName1=b\x96\xBC\x91\x4F\x31\r\nURL1=http://example.jp/"
              "b1\r\n");
    EXPECT_EQ(namesIn(folder_.path()), (std::vector<std::string>{"URL.ini", "other.ini"}));
}

TEST_F(IniProfileTest, ABatchReadsTheVersionOfTheFileItBeganWith) {
    putFile(file_, "[s]\r\na=old\r\nb=old\r\n");
    profile_.beginBatch(file_);
    EXPECT_EQ(read(u"s", u"a"), u"old");
    putFile(file_, "[s]\r\na=new\r\nb=new\r\n");  // another program rewrites the file
    EXPECT_EQ(read(u"s", u"b"), u"old");
    profile_.discardBatch();
    EXPECT_EQ(read(u"s", u"b"), u"new");
}

TEST_F(IniProfileTest, ABatchLeftWithoutCommitChangesNothing) {
    putFile(file_, "[KeepCount]\r\nCount=1\r\n");
    {
        ProfileBatch batch(profile_, file_);
        write(u"KeepCount", u"Count", u"7");
        EXPECT_EQ(read(u"KeepCount", u"Count"), u"7");
    }
    EXPECT_EQ(fileBytes(file_), "[KeepCount]\r\nCount=1\r\n");
    EXPECT_EQ(read(u"KeepCount", u"Count"), u"1");
    // The profile takes a new batch afterwards.
    ProfileBatch again(profile_, file_);
    write(u"KeepCount", u"Count", u"8");
    again.commit();
    again.commit();  // a second commit does nothing
    EXPECT_EQ(fileBytes(file_), "[KeepCount]\r\nCount=8\r\n");
}

}  // namespace
}  // namespace kazunavi
