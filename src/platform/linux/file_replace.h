#pragma once

// Whole-file reads and all-at-once replacement of a file's content.

#include <sys/types.h>

#include <ctime>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace kazunavi {

// What tells one version of a file from another without reading it.
struct FileIdentity {
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    std::time_t modifiedSeconds = 0;
    long modifiedNanoseconds = 0;

    bool operator==(const FileIdentity&) const = default;
};

struct FileContents {
    std::string bytes;
    FileIdentity identity;
};

// Nothing when the file does not exist; Failure when it exists but cannot be
// read as a regular file.
std::optional<FileIdentity> fileIdentity(const std::filesystem::path& file);
std::optional<FileContents> readWholeFile(const std::filesystem::path& file);

// Gives the file its new content in one step: a reader, or the next start
// after a crash at any moment, finds either the old or the new content
// complete. The content goes to a temporary file in the same folder, is
// flushed to the disk and then renamed over the file. Missing folders are
// created with mode 0700; a new file gets mode 0600, an existing one keeps
// its mode. A symbolic link is followed, not replaced. Failure when the file
// could not be written; the old content is then untouched.
FileIdentity replaceFileContent(const std::filesystem::path& file, std::string_view bytes);

}  // namespace kazunavi
