#include "platform/linux/posix_file_store.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <utility>
#include <vector>

#include "platform/failure.h"
#include "platform/linux/file_descriptor.h"

namespace kazunavi {

namespace {

[[noreturn]] void fail(const std::string& what, const std::filesystem::path& path, int error) {
    throw Failure(what + " " + path.string() + ": " + std::strerror(error));
}

FileIdentity identityOf(const struct stat& status) {
    return {static_cast<std::uint64_t>(status.st_dev), static_cast<std::uint64_t>(status.st_ino),
            status.st_size, status.st_mtim.tv_sec, status.st_mtim.tv_nsec};
}

bool isMissing(int error) {
    return error == ENOENT || error == ENOTDIR;
}

// Removes the temporary file unless the rename has taken it over.
class TemporaryFile {
  public:
    explicit TemporaryFile(std::string path) : path_(std::move(path)) {}
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    ~TemporaryFile() {
        if (!path_.empty()) {
            ::unlink(path_.c_str());
        }
    }
    const std::string& path() const { return path_; }
    void renamed() { path_.clear(); }

  private:
    std::string path_;
};

std::filesystem::path followLinks(const std::filesystem::path& file) {
    std::error_code error;
    if (std::filesystem::is_symlink(file, error)) {
        const auto target = std::filesystem::weakly_canonical(file, error);
        if (!error) {
            return target;
        }
    }
    return file;
}

void createFolders(const std::filesystem::path& folder) {
    std::vector<std::filesystem::path> missing;
    for (auto path = folder; !path.empty(); path = path.parent_path()) {
        struct stat status {};
        if (::stat(path.c_str(), &status) == 0) {
            break;
        }
        missing.push_back(path);
        if (path == path.parent_path()) {
            break;
        }
    }
    for (auto it = missing.rbegin(); it != missing.rend(); ++it) {
        if (::mkdir(it->c_str(), 0700) != 0 && errno != EEXIST) {
            fail("cannot create the folder", *it, errno);
        }
    }
}

void writeAll(int fd, std::string_view bytes, const std::string& path) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            fail("cannot write", path, errno);
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
}

// The temporary files of a file's saves: "." + name + ".saving-" + XXXXXX.
std::string temporaryPrefix(const std::filesystem::path& target) {
    std::string prefix = ".";
    prefix += target.filename().string();
    prefix += ".saving-";
    return prefix;
}

// Makes the rename itself survive a power loss; not every file system can.
void flushFolder(const std::filesystem::path& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// Not in one step: a crash while writing may leave the file cut short.
FileIdentity writeInPlace(const std::filesystem::path& target, std::string_view bytes) {
    FileDescriptor fd(::open(target.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC | O_NOCTTY));
    if (fd.get() < 0) {
        fail("cannot write", target, errno);
    }
    writeAll(fd.get(), bytes, target.string());
    struct stat written {};
    if (::fsync(fd.get()) != 0 || ::fstat(fd.get(), &written) != 0) {
        fail("cannot flush", target, errno);
    }
    return identityOf(written);
}

}  // namespace

// A save cut short (the program killed, the power gone) leaves its temporary
// file behind.
void PosixFileStore::removeLeftovers(const std::filesystem::path& file) {
    const std::filesystem::path target = followLinks(file);
    const std::string prefix = temporaryPrefix(target);
    std::error_code error;
    for (std::filesystem::directory_iterator it(target.parent_path(), error), end;
         !error && it != end; it.increment(error)) {
        if (it->path().filename().string().starts_with(prefix) && it->is_regular_file(error)) {
            std::filesystem::remove(it->path(), error);
        }
    }
}

std::optional<FileIdentity> PosixFileStore::identity(const std::filesystem::path& file) {
    struct stat status {};
    if (::stat(file.c_str(), &status) != 0) {
        if (isMissing(errno)) {
            return std::nullopt;
        }
        fail("cannot examine", file, errno);
    }
    if (!S_ISREG(status.st_mode)) {
        fail("not a regular file:", file, EINVAL);
    }
    return identityOf(status);
}

std::optional<FileContents> PosixFileStore::read(const std::filesystem::path& file) {
    // Not blocking: the name might belong to a pipe.
    FileDescriptor fd(::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (fd.get() < 0) {
        if (isMissing(errno)) {
            return std::nullopt;
        }
        fail("cannot open", file, errno);
    }
    struct stat status {};
    if (::fstat(fd.get(), &status) != 0) {
        fail("cannot examine", file, errno);
    }
    if (!S_ISREG(status.st_mode)) {
        fail("not a regular file:", file, EINVAL);
    }
    FileContents contents;
    contents.bytes.resize(static_cast<std::size_t>(status.st_size));
    std::size_t used = 0;
    for (;;) {
        if (used == contents.bytes.size()) {
            contents.bytes.resize(used + 4096);  // the file may have grown
        }
        const ssize_t got =
            ::read(fd.get(), contents.bytes.data() + used, contents.bytes.size() - used);
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            fail("cannot read", file, errno);
        }
        if (got == 0) {
            break;
        }
        used += static_cast<std::size_t>(got);
    }
    contents.bytes.resize(used);
    // The identity after reading: a change during the read shows as a new one.
    if (::fstat(fd.get(), &status) != 0) {
        fail("cannot examine", file, errno);
    }
    contents.identity = identityOf(status);
    return contents;
}

FileIdentity PosixFileStore::replace(const std::filesystem::path& file, std::string_view bytes) {
    const std::filesystem::path target = followLinks(file);
    std::filesystem::path folder = target.parent_path();
    if (folder.empty()) {
        folder = ".";
    }
    createFolders(folder);

    struct stat old {};
    const bool replacing = ::stat(target.c_str(), &old) == 0 && S_ISREG(old.st_mode);
    // A file its user made read-only is not replaced, not even by root.
    if (replacing && (old.st_mode & 0222) == 0) {
        fail("read-only:", target, EACCES);
    }

    std::string pattern = (folder / (temporaryPrefix(target) + "XXXXXX")).string();
    FileDescriptor fd(::mkostemp(pattern.data(), O_CLOEXEC));
    if (fd.get() < 0) {
        fail("cannot create a file in", folder, errno);
    }
    TemporaryFile temporary(pattern);

    if (replacing) {
        // Same owner and permissions as the old file. Only a privileged
        // process may give a file away: another user's file is written in
        // place instead, where its permissions allow.
        if (::fchown(fd.get(), old.st_uid, old.st_gid) != 0) {
            return writeInPlace(target, bytes);
        }
        ::fchmod(fd.get(), old.st_mode & 07777);
    } else {
        ::fchmod(fd.get(), 0600);
    }
    writeAll(fd.get(), bytes, temporary.path());
    if (::fsync(fd.get()) != 0) {
        fail("cannot flush", temporary.path(), errno);
    }
    struct stat written {};
    if (::fstat(fd.get(), &written) != 0) {
        fail("cannot examine", temporary.path(), errno);
    }
    if (fd.close() != 0) {
        fail("cannot close", temporary.path(), errno);
    }
    if (::rename(temporary.path().c_str(), target.c_str()) != 0) {
        fail("cannot replace", target, errno);
    }
    temporary.renamed();
    flushFolder(folder);
    return identityOf(written);
}

}  // namespace kazunavi
