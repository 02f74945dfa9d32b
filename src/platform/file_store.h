#pragma once

// Whole files: read at once, and replaced all at once.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace kazunavi {

// What tells one version of a file from another without reading it. Fields a
// system does not have stay 0.
struct FileIdentity {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int64_t size = 0;
    std::int64_t modifiedSeconds = 0;  // since 1970-01-01 UTC
    std::int64_t modifiedNanoseconds = 0;

    bool operator==(const FileIdentity&) const = default;
};

struct FileContents {
    std::string bytes;
    FileIdentity identity;
};

class FileStore {
  public:
    virtual ~FileStore() = default;
    // Nothing when the file does not exist; Failure when it exists but cannot
    // be read as a regular file.
    virtual std::optional<FileIdentity> identity(const std::filesystem::path& file) = 0;
    virtual std::optional<FileContents> read(const std::filesystem::path& file) = 0;
    // Gives the file its new content in one step: a reader, or the next start
    // after a crash at any moment, finds either the old or the new content
    // complete. Missing folders are created. Failure when the file could not
    // be written; the old content is then untouched.
    virtual FileIdentity replace(const std::filesystem::path& file, std::string_view bytes) = 0;
    // Removes what saves of the file that were cut short left beside it. Only
    // while no other save of it can be running (the program's start).
    virtual void removeLeftovers(const std::filesystem::path& file) = 0;
};

}  // namespace kazunavi
