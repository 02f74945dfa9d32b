#pragma once

// This platform's real file store, picked by the build (disk_files_<platform>.cpp).

#include <memory>

#include "platform/file_store.h"

namespace kazunavi::test {

std::unique_ptr<FileStore> diskFileStore();

}  // namespace kazunavi::test
