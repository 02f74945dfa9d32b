#pragma once

#include <unistd.h>

#include <utility>

namespace kazunavi {

// An open file descriptor, closed with its owner.
class FileDescriptor {
  public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor() { reset(); }

    int get() const { return fd_; }
    void reset(int fd = -1) {
        if (fd_ >= 0) {
            ::close(fd_);
        }
        fd_ = fd;
    }
    // Closes now, to see the error a delayed write may report.
    int close() { return ::close(std::exchange(fd_, -1)); }

  private:
    int fd_;
};

}  // namespace kazunavi
