#pragma once

// Files through the POSIX calls: a replacement is written to a temporary file
// in the same folder, flushed to the disk and renamed over the file. Missing
// folders are created with mode 0700; a new file gets mode 0600, an existing
// one keeps its mode and its owner: another user's file is written in place.
// A file without any write permission is not replaced. A symbolic link is
// followed, not replaced.

#include "platform/file_store.h"

namespace kazunavi {

class PosixFileStore : public FileStore {
  public:
    std::optional<FileIdentity> identity(const std::filesystem::path& file) override;
    std::optional<FileContents> read(const std::filesystem::path& file) override;
    FileIdentity replace(const std::filesystem::path& file, std::string_view bytes) override;
    void removeLeftovers(const std::filesystem::path& file) override;
};

}  // namespace kazunavi
