#include "platform/linux/browser_launcher.h"

#include <fcntl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <pthread.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <thread>

#include "platform/failure.h"
#include "support/scratch_folder.h"

namespace kazunavi {
namespace {

using ::testing::ElementsAre;
namespace fs = std::filesystem;

// What the stand-in browser saw: its arguments and facts about its process.
struct Record {
    std::map<std::string, std::string> facts;
    std::vector<std::string> arguments;
};

// A stand-in browser: a script that writes down its process facts and its
// arguments (NUL-separated, so that any byte but NUL survives), then stays
// alive for $LINGER seconds.
constexpr const char* kRecorder = R"sh(#!/bin/sh
record="$(dirname "$0")/record"
stdin=$(readlink /proc/$$/fd/0)
stdout=$(readlink /proc/$$/fd/1)
stderr=$(readlink /proc/$$/fd/2)
fds=
for fd in 3 4 5 6 7 8 9; do [ -L /proc/$$/fd/$fd ] && fds="$fds$fd "; done
while read -r name value; do [ "$name" = SigBlk: ] && sigblk=$value; done < /proc/$$/status
{
    printf '%s\0' "pid=$$" "ppid=$PPID" "sid=$(cut -d' ' -f6 /proc/$$/stat)" \
        "stdin=$stdin" "stdout=$stdout" "stderr=$stderr" "fds=$fds" "sigblk=$sigblk" \
        "GNOME_ACCESSIBILITY=${GNOME_ACCESSIBILITY-unset}" --
    printf '%s\0' "$@"
} > "$record.part"
mv "$record.part" "$record"
exec sleep "${LINGER:-0}"
)sh";

void writeProgram(const fs::path& path, std::string_view text) {
    std::ofstream(path) << text;
    ASSERT_EQ(::chmod(path.c_str(), 0700), 0);
}

class EnvironmentGuard {
  public:
    explicit EnvironmentGuard(std::vector<std::string> names) {
        for (std::string& name : names) {
            const char* value = std::getenv(name.c_str());
            saved_.emplace(std::move(name),
                           value ? std::optional<std::string>(value) : std::nullopt);
        }
    }
    EnvironmentGuard(const EnvironmentGuard&) = delete;
    EnvironmentGuard& operator=(const EnvironmentGuard&) = delete;
    ~EnvironmentGuard() {
        for (const auto& [name, value] : saved_) {
            if (value) {
                ::setenv(name.c_str(), value->c_str(), 1);
            } else {
                ::unsetenv(name.c_str());
            }
        }
    }

  private:
    std::map<std::string, std::optional<std::string>> saved_;
};

class LinuxBrowserTest : public ::testing::Test {
  protected:
    void SetUp() override {
        writeProgram(recorder_, kRecorder);
        ::setenv("BROWSER", recorder_.c_str(), 1);
        ::setenv("GNOME_ACCESSIBILITY", "0", 1);
        ::unsetenv("LINGER");
    }

    // The record of the stand-in browser, waiting a few seconds at most.
    std::optional<Record> awaitRecord() const {
        const fs::path file = folder_ / "record";
        for (int attempt = 0; attempt < 500 && !fs::exists(file); ++attempt) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        std::ifstream in(file, std::ios::binary);
        if (!in) {
            return std::nullopt;
        }
        const std::string text{std::istreambuf_iterator<char>(in), {}};
        Record record;
        bool inArguments = false;
        for (std::size_t start = 0; start < text.size();) {
            const std::size_t end = text.find('\0', start);
            const std::string item = text.substr(start, end - start);
            start = end + 1;
            if (inArguments) {
                record.arguments.push_back(item);
            } else if (item == "--") {
                inArguments = true;
            } else {
                const std::size_t equals = item.find('=');
                record.facts[item.substr(0, equals)] = item.substr(equals + 1);
            }
        }
        return record;
    }

    test::ScratchFolder folder_;
    fs::path recorder_ = folder_ / "recorder";
    EnvironmentGuard environment_{{"BROWSER", "PATH", "GNOME_ACCESSIBILITY", "LINGER"}};
    LinuxBrowser browser_;
};

bool hasChildren() {
    return !(::waitpid(-1, nullptr, WNOHANG) < 0 && errno == ECHILD);
}

// The browser runs apart, without a terminal, a descriptor or a blocked
// signal of this program, and gets the address as one argument that no shell
// interprets.
TEST_F(LinuxBrowserTest, SendsTheAddressAsOneArgumentThatNoShellInterprets) {
    const std::string trap = (folder_ / "trap").string();
    const std::string tail =
        " \"dq\" 'sq' ; $(touch " + trap + ") `touch " + trap + "` $HOME *?\\ | & > x";
    const std::u16string tail16(tail.begin(), tail.end());
    const std::u16string address = u"http://例え.jp/日本語 😀" + tail16;

    const int inherited = ::open("/dev/null", O_RDONLY);  // not closed on exec
    sigset_t blocked;
    sigset_t before;
    ::sigemptyset(&blocked);
    ::sigaddset(&blocked, SIGUSR2);
    ::pthread_sigmask(SIG_BLOCK, &blocked, &before);
    browser_.navigate(address);
    ::pthread_sigmask(SIG_SETMASK, &before, nullptr);
    ::close(inherited);
    const std::optional<Record> record = awaitRecord();
    ASSERT_TRUE(record);
    EXPECT_THAT(record->arguments, ElementsAre("http://例え.jp/日本語 😀" + tail));
    EXPECT_EQ(record->facts.at("fds"), "");
    EXPECT_EQ(record->facts.at("sigblk"), "0000000000000000");
    EXPECT_FALSE(fs::exists(trap));
    EXPECT_EQ(record->facts.at("GNOME_ACCESSIBILITY"), "1");
    EXPECT_EQ(record->facts.at("stdin"), "/dev/null");
    EXPECT_EQ(record->facts.at("stdout"), "/dev/null");
    EXPECT_EQ(record->facts.at("stderr"), "/dev/null");
    EXPECT_NE(record->facts.at("ppid"), std::to_string(::getpid()));
    EXPECT_NE(record->facts.at("sid"), std::to_string(::getsid(0)));
}

TEST_F(LinuxBrowserTest, ReturnsWhileTheBrowserRunsAndLeavesNoChildBehind) {
    ::setenv("LINGER", "30", 1);
    browser_.navigate(u"http://host/a");
    EXPECT_FALSE(hasChildren());
    const std::optional<Record> record = awaitRecord();
    ASSERT_TRUE(record);
    const pid_t pid = std::stoi(record->facts.at("pid"));
    EXPECT_EQ(::kill(pid, 0), 0) << "the browser should still run";
    ::kill(pid, SIGKILL);
}

// The entry's own arguments come first; an unpaired surrogate in the address
// arrives as a replacement character.
TEST_F(LinuxBrowserTest, PassesTheEntrysOwnArgumentsAndTheAddressInUtf8) {
    ::setenv("BROWSER", ("/nonexistent/b:" + recorder_.string() + " --new-window --url=%s").c_str(),
             1);
    browser_.navigate(std::u16string(u"http://host/a b") + char16_t(0xD83D) + u"x");
    const std::optional<Record> record = awaitRecord();
    ASSERT_TRUE(record);
    EXPECT_THAT(record->arguments,
                ElementsAre("--new-window", "--url=http://host/a b\xEF\xBF\xBDx"));
}

TEST_F(LinuxBrowserTest, FailsWhenTheBrowserCannotBeStarted) {
    const fs::path empty = folder_ / "empty";
    fs::create_directory(empty);
    ::setenv("PATH", empty.c_str(), 1);  // no xdg-open to fall back on

    ::setenv("BROWSER", (folder_ / "missing").c_str(), 1);
    EXPECT_THROW(browser_.navigate(u"http://host/a"), Failure);

    // Found and executable, but the system cannot run it.
    const fs::path notAProgram = folder_ / "not-a-program";
    writeProgram(notAProgram, "this is no program\n");
    ::setenv("BROWSER", notAProgram.c_str(), 1);
    EXPECT_THROW(browser_.navigate(u"http://host/a"), Failure);

    const fs::path noInterpreter = folder_ / "no-interpreter";
    writeProgram(noInterpreter, "#!/nonexistent/interpreter\n");
    ::setenv("BROWSER", noInterpreter.c_str(), 1);
    EXPECT_THROW(browser_.navigate(u"http://host/a"), Failure);

    EXPECT_FALSE(hasChildren());
}

TEST_F(LinuxBrowserTest, AnAddressThatLooksLikeAnOptionStartsNothing) {
    EXPECT_THROW(browser_.navigate(u"--headless"), Failure);
    EXPECT_THROW(browser_.navigate(u""), Failure);
    EXPECT_FALSE(hasChildren());
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_FALSE(fs::exists(folder_ / "record"));
}

}  // namespace
}  // namespace kazunavi
