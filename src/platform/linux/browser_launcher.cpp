#include "platform/linux/browser_launcher.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <system_error>
#include <vector>

#include "platform/common/utf8.h"
#include "platform/failure.h"
#include "platform/linux/browser_command.h"
#include "platform/linux/file_descriptor.h"

namespace kazunavi {

namespace {

[[noreturn]] void fail(const std::string& what, int error) {
    throw Failure("browser: " + what + ": " + std::generic_category().message(error));
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
    pointers.reserve(strings.size() + 1);
    for (std::string& s : strings) {
        pointers.push_back(s.data());
    }
    pointers.push_back(nullptr);
    return pointers;
}

// Tells the waiting parent why the start failed, then ends this process.
[[noreturn]] void reportAndExit(int reportFd, int error) noexcept {
    [[maybe_unused]] const ssize_t written = ::write(reportFd, &error, sizeof error);
    ::_exit(127);
}

// Runs in the child of fork, where only async-signal-safe calls may be made:
// everything it uses was prepared before the fork. The child leaves the
// program's session and forks the browser process, then ends at once; the
// browser is thus adopted by init, leaves no zombie behind and survives the
// program. The report pipe is closed on exec, so the parent reads either an
// errno or, after a successful exec, the end of the pipe.
[[noreturn]] void startBrowserProcess(const char* program, char* const* argv, char* const* envp,
                                      int nullFd, int reportFd) noexcept {
    if (::setsid() < 0) {
        reportAndExit(reportFd, errno);
    }
    const pid_t browser = ::fork();
    if (browser < 0) {
        reportAndExit(reportFd, errno);
    }
    if (browser > 0) {
        ::_exit(0);
    }
    // The browser starts with a clean signal state and no terminal.
    sigset_t noSignals;
    ::sigemptyset(&noSignals);
    ::sigprocmask(SIG_SETMASK, &noSignals, nullptr);
    struct sigaction defaultAction {};
    defaultAction.sa_handler = SIG_DFL;
    for (int signalNumber = 1; signalNumber < NSIG; ++signalNumber) {
        ::sigaction(signalNumber, &defaultAction, nullptr);  // fails harmlessly for KILL, STOP
    }
    for (int stdFd = 0; stdFd <= 2; ++stdFd) {
        if (::dup2(nullFd, stdFd) < 0) {
            reportAndExit(reportFd, errno);
        }
    }
    // No descriptor of this program (the instance lock, the display
    // connection) may live on in the browser. Best effort: older kernels lack
    // the call, and the program opens its own descriptors close-on-exec.
    ::close_range(3, ~0U, CLOSE_RANGE_CLOEXEC);
    ::execve(program, argv, envp);
    reportAndExit(reportFd, errno);
}

void startDetached(BrowserCommand command) {
    std::vector<char*> argv = pointersTo(command.argv);
    std::vector<char*> envp = pointersTo(command.envp);
    FileDescriptor nullFd(::open("/dev/null", O_RDWR | O_CLOEXEC));
    if (nullFd.get() < 0) {
        fail("cannot open /dev/null", errno);
    }
    int pipeFds[2];
    if (::pipe2(pipeFds, O_CLOEXEC) < 0) {
        fail("cannot create a pipe", errno);
    }
    FileDescriptor reportRead(pipeFds[0]);
    FileDescriptor reportWrite(pipeFds[1]);

    const pid_t child = ::fork();
    if (child < 0) {
        fail("cannot fork", errno);
    }
    if (child == 0) {
        startBrowserProcess(command.program.c_str(), argv.data(), envp.data(), nullFd.get(),
                            reportWrite.get());
    }
    reportWrite.reset();

    int childError = 0;
    ssize_t got = 0;
    do {
        got = ::read(reportRead.get(), &childError, sizeof childError);
    } while (got < 0 && errno == EINTR);
    const int readError = errno;

    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (got == static_cast<ssize_t>(sizeof childError)) {
        fail("cannot start " + command.program, childError);
    }
    if (got < 0) {
        fail("cannot learn whether " + command.program + " started", readError);
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        throw Failure("browser: the start of " + command.program + " broke off");
    }
}

}  // namespace

void LinuxBrowser::navigate(std::u16string_view address) {
    startDetached(browserCommandFor(toUtf8(address), currentEnvironment()));
}

}  // namespace kazunavi
