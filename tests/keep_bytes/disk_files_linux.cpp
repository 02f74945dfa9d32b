#include "keep_bytes/disk_files.h"
#include "platform/linux/posix_file_store.h"

namespace kazunavi::test {

std::unique_ptr<FileStore> diskFileStore() {
    return std::make_unique<PosixFileStore>();
}

}  // namespace kazunavi::test
