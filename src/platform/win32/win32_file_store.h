#pragma once

// Files through the Windows calls: a replacement is written to a temporary
// file in the same folder, flushed to the disk (FlushFileBuffers) and moved
// over the file with MOVEFILE_WRITE_THROUGH, so that the move itself is on
// the disk when the call returns. A file marked read-only is not replaced;
// an existing file's hidden and system marks go to its replacement. Names are
// wide strings throughout.

#include "platform/file_store.h"

namespace kazunavi {

class Win32FileStore : public FileStore {
  public:
    std::optional<FileIdentity> identity(const std::filesystem::path& file) override;
    std::optional<FileContents> read(const std::filesystem::path& file) override;
    FileIdentity replace(const std::filesystem::path& file, std::string_view bytes) override;
    void removeLeftovers(const std::filesystem::path& file) override;
};

// The name prefix of the temporary files of the file's saves.
std::wstring savingPrefix(const std::filesystem::path& file);

}  // namespace kazunavi
