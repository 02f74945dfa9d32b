#pragma once

// A fresh, empty folder for one test, removed with everything in it after.

#include <filesystem>
#include <string>

#include "platform/common/plain_file_store.h"

namespace kazunavi::test {

class ScratchFolder {
  public:
    ScratchFolder() : path_(makeTemporaryFolder("kazunavi-test-")) {}
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    ~ScratchFolder() { std::filesystem::remove_all(path_, ignored_); }

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

  private:
    std::filesystem::path path_;
    std::error_code ignored_;
};

}  // namespace kazunavi::test
