#include "platform/linux/instance_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>
#include <system_error>
#include <utility>

#include "platform/failure.h"

namespace kazunavi {

namespace {

std::string describe(const std::filesystem::path& path, const std::string& what, int error) {
    return "instance lock " + path.string() + ": " + what + ": " +
           std::generic_category().message(error);
}

}  // namespace

InstanceLock::InstanceLock() : InstanceLock(defaultPath()) {}

InstanceLock::InstanceLock(std::filesystem::path lockFile) : path_(std::move(lockFile)) {
    // Close-on-exec: a browser started by this program must not inherit the
    // descriptor, or it would hold the lock after this program has ended.
    // No symbolic links: the fallback folder is shared with other users.
    fd_ = ::open(path_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd_ < 0) {
        problem_ = describe(path_, "cannot open", errno);
        return;
    }
    struct stat status {};
    if (::fstat(fd_, &status) != 0) {
        problem_ = describe(path_, "cannot examine", errno);
    } else if (!S_ISREG(status.st_mode) || status.st_uid != ::getuid()) {
        // Another user's file could be held to keep this program from starting.
        problem_ = "instance lock " + path_.string() + ": not a file of this user";
    } else {
        tryLock();
    }
}

InstanceLock::~InstanceLock() {
    if (fd_ >= 0) {
        ::close(fd_);  // releases the lock
    }
}

bool InstanceLock::anotherRunning() {
    if (!problem_.empty()) {
        throw Failure(problem_);
    }
    if (!held_) {
        tryLock();
        if (!problem_.empty()) {
            throw Failure(problem_);
        }
    }
    return !held_;
}

std::filesystem::path InstanceLock::defaultPath() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime != nullptr) {
        const std::filesystem::path folder(runtime);
        std::error_code error;
        if (folder.is_absolute() && std::filesystem::is_directory(folder, error)) {
            return folder / "kazunavi.lock";
        }
    }
    return std::filesystem::path("/tmp") / ("kazunavi-" + std::to_string(::getuid()) + ".lock");
}

void InstanceLock::tryLock() {
    int result = 0;
    do {
        result = ::flock(fd_, LOCK_EX | LOCK_NB);
    } while (result < 0 && errno == EINTR);
    if (result == 0) {
        held_ = true;
    } else if (errno != EWOULDBLOCK) {
        problem_ = describe(path_, "cannot lock", errno);
    }
}

}  // namespace kazunavi
