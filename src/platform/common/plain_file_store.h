#pragma once

// Files through the standard library alone: the new content goes to a
// temporary file beside the file and is renamed over it. Nothing is flushed
// to the disk; for the simulated desktop and tools, not for the user's files.

#include "platform/file_store.h"

namespace kazunavi {

class PlainFileStore : public FileStore {
  public:
    std::optional<FileIdentity> identity(const std::filesystem::path& file) override;
    std::optional<FileContents> read(const std::filesystem::path& file) override;
    FileIdentity replace(const std::filesystem::path& file, std::string_view bytes) override;
    void removeLeftovers(const std::filesystem::path& file) override;
};

// A new, empty folder of a name of its own under the system's temporary
// folder; Failure when none can be made.
std::filesystem::path makeTemporaryFolder(std::string_view prefix);

}  // namespace kazunavi
