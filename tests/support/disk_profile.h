#pragma once

// The profile functions on this system's real files, as the program has them.

#include <chrono>

#include "platform/common/ini_profile.h"
#include "platform/linux/posix_file_store.h"

namespace kazunavi::test {

struct PosixFiles {
    PosixFileStore files;
};

class DiskProfileFile : private PosixFiles, public IniProfileFile {
  public:
    explicit DiskProfileFile(std::chrono::milliseconds recheckInterval = {})
        : IniProfileFile(files, recheckInterval) {}
};

}  // namespace kazunavi::test
