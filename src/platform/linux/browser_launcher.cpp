#include "platform/linux/browser_launcher.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/types.h>
#include <sys/wait.h>

#include <cerrno>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

#include "platform/common/utf8.h"
#include "platform/failure.h"
#include "platform/linux/browser_command.h"
#include "platform/linux/desktop_entry.h"

namespace kazunavi {

namespace {

void check(int error, const std::string& what) {
    if (error != 0) {
        throw Failure("browser: " + what + ": " + std::generic_category().message(error));
    }
}

std::vector<std::string> currentEnvironment() {
    std::vector<std::string> environment;
    for (char** entry = environ; entry != nullptr && *entry != nullptr; ++entry) {
        environment.emplace_back(*entry);
    }
    return environment;
}

std::vector<char*> pointersTo(std::vector<std::string>& strings) {
    std::vector<char*> pointers;
    for (std::string& s : strings) {
        pointers.push_back(s.data());
    }
    pointers.push_back(nullptr);
    return pointers;
}

// How the browser process starts: in a session of its own without a
// terminal, its standard streams on /dev/null, every signal at its default
// and none blocked, and no descriptor of this program (the instance lock, the
// display connection) open in it.
class SpawnSetup {
  public:
    SpawnSetup() {
        // Both only fill in the structures (glibc never fails them).
        ::posix_spawnattr_init(&attributes_);
        ::posix_spawn_file_actions_init(&actions_);
        sigset_t none, all;
        ::sigemptyset(&none);
        ::sigfillset(&all);
        const std::string what = "cannot prepare the start";
        check(::posix_spawnattr_setflags(&attributes_, POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGMASK |
                                                           POSIX_SPAWN_SETSIGDEF),
              what);
        check(::posix_spawnattr_setsigmask(&attributes_, &none), what);
        check(::posix_spawnattr_setsigdefault(&attributes_, &all), what);
        for (int stdFd = 0; stdFd <= 2; ++stdFd) {
            check(::posix_spawn_file_actions_addopen(&actions_, stdFd, "/dev/null", O_RDWR, 0),
                  what);
        }
        check(::posix_spawn_file_actions_addclosefrom_np(&actions_, 3), what);
    }
    ~SpawnSetup() {
        ::posix_spawn_file_actions_destroy(&actions_);
        ::posix_spawnattr_destroy(&attributes_);
    }
    SpawnSetup(const SpawnSetup&) = delete;
    SpawnSetup& operator=(const SpawnSetup&) = delete;

    // The browser's process, or a Failure with the reason it could not run.
    pid_t start(BrowserCommand& command) const {
        std::vector<char*> argv = pointersTo(command.argv);
        std::vector<char*> envp = pointersTo(command.envp);
        pid_t browser = 0;
        check(::posix_spawn(&browser, command.program.c_str(), &actions_, &attributes_, argv.data(),
                            envp.data()),
              "cannot start " + command.program);
        return browser;
    }

  private:
    posix_spawnattr_t attributes_;
    posix_spawn_file_actions_t actions_;
};

}  // namespace

void LinuxBrowser::navigate(std::u16string_view address) {
    BrowserCommand command =
        browserCommandFor(toUtf8(address), currentEnvironment(), isExecutableFile,
                          [this](const std::vector<std::string>& environment) {
                              if (!defaultBrowserExec_) {
                                  defaultBrowserExec_ = defaultBrowserExec(environment);
                              }
                              return *defaultBrowserExec_;
                          });
    const pid_t browser = SpawnSetup().start(command);
    // The browser outlives this call and may outlive the program; whenever it
    // ends, it leaves no zombie behind.
    std::thread([browser] {
        while (::waitpid(browser, nullptr, 0) < 0 && errno == EINTR) {
        }
    }).detach();
}

}  // namespace kazunavi
