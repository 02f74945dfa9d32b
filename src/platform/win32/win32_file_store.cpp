#include "platform/win32/win32_file_store.h"

#include <windows.h>

#include <random>
#include <utility>

#include "platform/win32/handle.h"
#include "platform/win32/wide_text.h"

namespace kazunavi {

namespace fs = std::filesystem;

namespace {

// FILETIME counts 100 ns from 1601-01-01; FileIdentity seconds from 1970.
constexpr std::int64_t kUnixEpochInFileTime = 116'444'736'000'000'000;
constexpr std::int64_t kFileTimePerSecond = 10'000'000;

bool isMissing(DWORD error) {
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

FileIdentity identityOf(const BY_HANDLE_FILE_INFORMATION& info) {
    const std::int64_t written =
        static_cast<std::int64_t>(std::uint64_t{info.ftLastWriteTime.dwHighDateTime} << 32 |
                                  info.ftLastWriteTime.dwLowDateTime) -
        kUnixEpochInFileTime;
    FileIdentity identity;
    identity.device = info.dwVolumeSerialNumber;
    identity.inode = std::uint64_t{info.nFileIndexHigh} << 32 | info.nFileIndexLow;
    identity.size =
        static_cast<std::int64_t>(std::uint64_t{info.nFileSizeHigh} << 32 | info.nFileSizeLow);
    identity.modifiedSeconds = written / kFileTimePerSecond;
    identity.modifiedNanoseconds = written % kFileTimePerSecond * 100;
    if (identity.modifiedNanoseconds < 0) {  // before 1970
        identity.modifiedSeconds -= 1;
        identity.modifiedNanoseconds += 1'000'000'000;
    }
    return identity;
}

// The identity of the open file; Failure when it is not a regular disk file.
FileIdentity identityOfOpen(HANDLE file, const fs::path& path) {
    BY_HANDLE_FILE_INFORMATION info{};
    if (!::GetFileInformationByHandle(file, &info)) {
        failOn("cannot examine", path, ::GetLastError());
    }
    if ((info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ||
        ::GetFileType(file) != FILE_TYPE_DISK) {
        failOn("not a regular file:", path, ERROR_INVALID_PARAMETER);
    }
    return identityOf(info);
}

// Opened for the access asked, shared with every other reader and writer;
// none when there is no such file.
UniqueHandle openExisting(const fs::path& path, DWORD access) {
    // Backup semantics: a folder opens too, to be told apart from a file.
    UniqueHandle file(::CreateFileW(path.c_str(), access,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!file) {
        const DWORD error = ::GetLastError();
        if (!isMissing(error)) {
            failOn("cannot open", path, error);
        }
    }
    return file;
}

// Removes the temporary file unless the move has taken it over.
class TemporaryFile {
  public:
    explicit TemporaryFile(fs::path path) : path_(std::move(path)) {}
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    ~TemporaryFile() {
        if (!path_.empty()) {
            ::DeleteFileW(path_.c_str());
        }
    }
    const fs::path& path() const { return path_; }
    void moved() { path_.clear(); }

  private:
    fs::path path_;
};

fs::path followLinks(const fs::path& file) {
    std::error_code error;
    if (fs::is_symlink(file, error)) {
        const auto target = fs::weakly_canonical(file, error);
        if (!error) {
            return target;
        }
    }
    return file;
}

// A new temporary file beside the target, open for writing by this program alone.
std::pair<fs::path, UniqueHandle> createTemporary(const fs::path& folder, const fs::path& target) {
    std::random_device random;
    for (int attempt = 0;; ++attempt) {
        fs::path path = folder / (savingPrefix(target) + std::to_wstring(random()));
        UniqueHandle file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file) {
            return {std::move(path), std::move(file)};
        }
        const DWORD error = ::GetLastError();
        if (error != ERROR_FILE_EXISTS || attempt == 100) {
            failOn("cannot create a file in", folder, error);
        }
    }
}

void writeAll(HANDLE file, std::string_view bytes, const fs::path& path) {
    while (!bytes.empty()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
        DWORD written = 0;
        if (!::WriteFile(file, bytes.data(), chunk, &written, nullptr)) {
            failOn("cannot write", path, ::GetLastError());
        }
        bytes.remove_prefix(written);
    }
}

}  // namespace

std::wstring savingPrefix(const fs::path& file) {
    return L"." + file.filename().wstring() + L".saving-";
}

// A save cut short (the program killed, the power gone) leaves its temporary
// file behind.
void Win32FileStore::removeLeftovers(const fs::path& file) {
    const fs::path target = followLinks(file);
    const std::wstring prefix = savingPrefix(target);
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(L".");
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        if (it->path().filename().wstring().starts_with(prefix) && it->is_regular_file(error)) {
            fs::remove(it->path(), error);
        }
    }
}

std::optional<FileIdentity> Win32FileStore::identity(const fs::path& file) {
    const UniqueHandle handle = openExisting(file, 0);
    if (!handle) {
        return std::nullopt;
    }
    return identityOfOpen(handle.get(), file);
}

std::optional<FileContents> Win32FileStore::read(const fs::path& file) {
    const UniqueHandle handle = openExisting(file, GENERIC_READ);
    if (!handle) {
        return std::nullopt;
    }
    FileContents contents;
    contents.identity = identityOfOpen(handle.get(), file);
    contents.bytes.resize(static_cast<std::size_t>(contents.identity.size));
    std::size_t used = 0;
    for (;;) {
        if (used == contents.bytes.size()) {
            contents.bytes.resize(used + 4096);  // the file may have grown
        }
        DWORD got = 0;
        const DWORD wanted =
            static_cast<DWORD>(std::min<std::size_t>(contents.bytes.size() - used, 1u << 30));
        if (!::ReadFile(handle.get(), contents.bytes.data() + used, wanted, &got, nullptr)) {
            failOn("cannot read", file, ::GetLastError());
        }
        if (got == 0) {
            break;
        }
        used += got;
    }
    contents.bytes.resize(used);
    // The identity after reading: a change during the read shows as a new one.
    contents.identity = identityOfOpen(handle.get(), file);
    return contents;
}

FileIdentity Win32FileStore::replace(const fs::path& file, std::string_view bytes) {
    const fs::path target = followLinks(file);
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(L".");
    std::error_code error;
    fs::create_directories(folder, error);
    if (error) {
        failOn("cannot create the folder", folder, static_cast<DWORD>(error.value()));
    }

    const DWORD old = ::GetFileAttributesW(target.c_str());
    const bool replacing = old != INVALID_FILE_ATTRIBUTES;
    if (replacing && (old & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        failOn("not a regular file:", target, ERROR_INVALID_PARAMETER);
    }
    // A file its user made read-only is not replaced.
    if (replacing && (old & FILE_ATTRIBUTE_READONLY) != 0) {
        failOn("read-only:", target, ERROR_ACCESS_DENIED);
    }

    auto [path, handle] = createTemporary(folder, target);
    TemporaryFile temporary(std::move(path));
    writeAll(handle.get(), bytes, temporary.path());
    if (!::FlushFileBuffers(handle.get())) {
        failOn("cannot flush", temporary.path(), ::GetLastError());
    }
    const FileIdentity written = identityOfOpen(handle.get(), temporary.path());
    if (!handle.close()) {
        failOn("cannot close", temporary.path(), ::GetLastError());
    }
    if (replacing) {
        constexpr DWORD kKept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                FILE_ATTRIBUTE_NOT_CONTENT_INDEXED | FILE_ATTRIBUTE_ARCHIVE;
        if ((old & kKept) != 0) {
            ::SetFileAttributesW(temporary.path().c_str(), old & kKept);
        }
    }
    if (!::MoveFileExW(temporary.path().c_str(), target.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        failOn("cannot replace", target, ::GetLastError());
    }
    temporary.moved();
    return written;
}

}  // namespace kazunavi
