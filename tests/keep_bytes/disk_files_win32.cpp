#include "keep_bytes/disk_files.h"
#include "platform/win32/win32_file_store.h"

namespace kazunavi::test {

std::unique_ptr<FileStore> diskFileStore() {
    return std::make_unique<Win32FileStore>();
}

}  // namespace kazunavi::test
