#pragma once

// A descriptor that becomes readable once cancel() is called, and stays so:
// a wait on it that begins later ends at once too.

#include <sys/eventfd.h>

#include <cstdint>

#include "platform/linux/file_descriptor.h"

namespace kazunavi {

class CancelSignal {
  public:
    CancelSignal() : fd_(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}
    // From any thread.
    void cancel() {
        const std::uint64_t one = 1;
        [[maybe_unused]] const ssize_t written = ::write(fd_.get(), &one, sizeof one);
    }
    int descriptor() const { return fd_.get(); }

  private:
    FileDescriptor fd_;
};

}  // namespace kazunavi
