#pragma once

// The single-instance check on Linux: an exclusive lock on a file in the
// user's runtime folder. The kernel drops the lock when its holder ends, also
// when it crashes or is killed, so a dead copy never blocks the next start.

#include <filesystem>
#include <string>

#include "platform/services.h"

namespace kazunavi {

class InstanceLock : public InstanceCheck {
  public:
    // Takes the lock on the default lock file, if it is free.
    InstanceLock();
    // Takes the lock on the given file, if it is free.
    explicit InstanceLock(std::filesystem::path lockFile);
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;
    ~InstanceLock() override;

    // True while another process holds the lock; when it has become free
    // meanwhile, this object takes it. Throws Failure when the lock file
    // cannot be opened or locked.
    bool anotherRunning() override;

    // $XDG_RUNTIME_DIR/kazunavi.lock, or /tmp/kazunavi-<uid>.lock without a
    // usable runtime folder.
    static std::filesystem::path defaultPath();

  private:
    void tryLock();

    std::filesystem::path path_;
    int fd_ = -1;
    std::string problem_;  // why the lock file is unusable; empty when it is usable
    bool held_ = false;
};

}  // namespace kazunavi
