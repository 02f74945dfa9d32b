#include "platform/linux/instance_lock.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "platform/failure.h"
#include "support/scratch_folder.h"

namespace kazunavi {
namespace {

namespace fs = std::filesystem;

class InstanceLockTest : public ::testing::Test {
  protected:
    test::ScratchFolder folder_;
    fs::path lockFile_ = folder_ / "kazunavi.lock";
};

TEST_F(InstanceLockTest, TheSecondCopySeesTheFirst) {
    InstanceLock first(lockFile_);
    EXPECT_FALSE(first.anotherRunning());
    InstanceLock second(lockFile_);
    EXPECT_TRUE(second.anotherRunning());
    EXPECT_TRUE(second.anotherRunning());  // asking again changes nothing
    EXPECT_FALSE(first.anotherRunning());
    // A lock on another file is another program's.
    InstanceLock elsewhere(folder_ / "other.lock");
    EXPECT_FALSE(elsewhere.anotherRunning());
}

TEST_F(InstanceLockTest, AWaitingCopyTakesTheLockOnceItsHolderIsGone) {
    std::optional<InstanceLock> first(std::in_place, lockFile_);
    InstanceLock second(lockFile_);
    ASSERT_TRUE(second.anotherRunning());
    first.reset();
    EXPECT_TRUE(fs::exists(lockFile_));  // the file stays; only the lock goes
    EXPECT_FALSE(second.anotherRunning());
    InstanceLock third(lockFile_);
    EXPECT_TRUE(third.anotherRunning());
}

TEST_F(InstanceLockTest, AKilledHolderLeavesTheLockFree) {
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t holder = ::fork();
    ASSERT_GE(holder, 0);
    if (holder == 0) {
        ::close(ready[0]);
        InstanceLock lock(lockFile_);
        const char held = lock.anotherRunning() ? 'n' : 'y';
        [[maybe_unused]] const ssize_t written = ::write(ready[1], &held, 1);
        ::pause();  // until killed
        ::_exit(0);
    }
    ::close(ready[1]);
    char held = 0;
    ASSERT_EQ(::read(ready[0], &held, 1), 1);
    ::close(ready[0]);
    ASSERT_EQ(held, 'y');

    EXPECT_TRUE(InstanceLock(lockFile_).anotherRunning());
    ::kill(holder, SIGKILL);
    int status = 0;
    ASSERT_EQ(::waitpid(holder, &status, 0), holder);
    ASSERT_TRUE(WIFSIGNALED(status));
    EXPECT_FALSE(InstanceLock(lockFile_).anotherRunning());
}

TEST_F(InstanceLockTest, AProgramStartedWhileHoldingTheLockDoesNotKeepIt) {
    std::optional<InstanceLock> first(std::in_place, lockFile_);
    ASSERT_FALSE(first->anotherRunning());
    pid_t sleeper = 0;
    char program[] = "sleep";
    char seconds[] = "30";
    char* argv[] = {program, seconds, nullptr};
    ASSERT_EQ(::posix_spawnp(&sleeper, "sleep", nullptr, nullptr, argv, environ), 0);
    first.reset();
    EXPECT_FALSE(InstanceLock(lockFile_).anotherRunning());
    ::kill(sleeper, SIGKILL);
    ::waitpid(sleeper, nullptr, 0);
}

TEST_F(InstanceLockTest, AnUnusableLockFileIsAFailure) {
    EXPECT_THROW(InstanceLock(folder_ / "missing-folder" / "kazunavi.lock").anotherRunning(),
                 Failure);
    // A link planted in place of the lock file is not followed.
    fs::create_symlink(folder_ / "target", lockFile_);
    EXPECT_THROW(InstanceLock(lockFile_).anotherRunning(), Failure);
    EXPECT_FALSE(fs::exists(folder_ / "target"));
    fs::remove(lockFile_);
    fs::create_directory(lockFile_);
    EXPECT_THROW(InstanceLock(lockFile_).anotherRunning(), Failure);
}

TEST(InstanceLockPath, LivesInTheRuntimeFolderOrElseInTmp) {
    const char* saved = std::getenv("XDG_RUNTIME_DIR");
    const std::optional<std::string> original =
        saved ? std::optional<std::string>(saved) : std::nullopt;
    test::ScratchFolder runtime;
    const fs::path fallback = "/tmp/kazunavi-" + std::to_string(::getuid()) + ".lock";

    ::setenv("XDG_RUNTIME_DIR", runtime.path().c_str(), 1);
    EXPECT_EQ(InstanceLock::defaultPath(), runtime / "kazunavi.lock");
    ::setenv("XDG_RUNTIME_DIR", "relative/run", 1);
    EXPECT_EQ(InstanceLock::defaultPath(), fallback);
    ::setenv("XDG_RUNTIME_DIR", (runtime / "missing").c_str(), 1);
    EXPECT_EQ(InstanceLock::defaultPath(), fallback);
    ::setenv("XDG_RUNTIME_DIR", "", 1);
    EXPECT_EQ(InstanceLock::defaultPath(), fallback);
    ::unsetenv("XDG_RUNTIME_DIR");
    EXPECT_EQ(InstanceLock::defaultPath(), fallback);

    if (original) {
        ::setenv("XDG_RUNTIME_DIR", original->c_str(), 1);
    }
}

}  // namespace
}  // namespace kazunavi
