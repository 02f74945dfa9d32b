#include "platform/linux/program_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "support/scratch_folder.h"

namespace kazunavi {
namespace {

namespace fs = std::filesystem;

class ProgramFolderTest : public ::testing::Test {
  protected:
    ProgramFolderSetting setting(bool writable) {
        ProgramFolderSetting setting;
        setting.executableFolder = programFolder_;
        setting.xdgConfigHome = "/xdg";
        setting.home = "/home/user";
        setting.canCreateFilesIn = [this, writable](const fs::path& folder) {
            ++checks_;
            EXPECT_EQ(folder, programFolder_);
            return writable;
        };
        return setting;
    }

    test::ScratchFolder scratch_;
    fs::path programFolder_ = scratch_ / "bin";
    int checks_ = 0;
};

// The program's folder when it can be written, or when the list is there already.
TEST_F(ProgramFolderTest, TheProgramFolderWhenWritableOrHoldingTheList) {
    fs::create_directory(programFolder_);
    EXPECT_EQ(chooseProgramFolder(setting(true)), programFolder_);
    std::ofstream(programFolder_ / "URL.ini") << "[KeepCount]\r\nCount=0\r\n";
    EXPECT_EQ(chooseProgramFolder(setting(false)), programFolder_);
}

TEST_F(ProgramFolderTest, OtherwiseTheUsersConfigurationFolder) {
    fs::create_directory(programFolder_);
    auto choice = setting(false);
    EXPECT_EQ(chooseProgramFolder(choice), fs::path("/xdg/kazunavi"));
    // An unset, empty or relative XDG_CONFIG_HOME means ~/.config.
    for (const std::optional<std::string>& xdg :
         {std::optional<std::string>(), std::optional<std::string>(""),
          std::optional<std::string>("relative/config")}) {
        choice.xdgConfigHome = xdg;
        EXPECT_EQ(chooseProgramFolder(choice), fs::path("/home/user/.config/kazunavi"));
    }
}

TEST_F(ProgramFolderTest, AProgramWhoseFileCannotBeFoundUsesTheConfigurationFolder) {
    auto choice = setting(true);
    choice.executableFolder.clear();
    EXPECT_EQ(chooseProgramFolder(choice), fs::path("/xdg/kazunavi"));
    EXPECT_EQ(checks_, 0);
}

TEST_F(ProgramFolderTest, TheChoiceIsMadeOnceAndKept) {
    fs::create_directory(programFolder_);
    LinuxProgramFolder folder(setting(false));
    EXPECT_EQ(folder.path(), fs::path("/xdg/kazunavi"));
    // A list appearing beside the program later does not move the file.
    std::ofstream(programFolder_ / "URL.ini") << "";
    EXPECT_EQ(folder.path(), fs::path("/xdg/kazunavi"));
    EXPECT_EQ(checks_, 1);
}

TEST_F(ProgramFolderTest, TheFolderCheckReallyCreatesAFile) {
    EXPECT_TRUE(canCreateFilesIn(scratch_.path()));
    EXPECT_TRUE(fs::is_empty(scratch_.path()));  // the probe is gone again
    EXPECT_FALSE(canCreateFilesIn(scratch_ / "missing"));
    // access() grants root every folder of a writable mount; /proc takes no
    // new files all the same.
    EXPECT_FALSE(canCreateFilesIn("/proc"));
}

TEST_F(ProgramFolderTest, ThisProcessIsFoundBesideItsOwnFile) {
    const auto setting = ProgramFolderSetting::ofThisProcess();
    EXPECT_EQ(setting.executableFolder, fs::read_symlink("/proc/self/exe").parent_path());
    ASSERT_TRUE(setting.home.has_value());
    EXPECT_FALSE(setting.home->empty());
}

}  // namespace
}  // namespace kazunavi
