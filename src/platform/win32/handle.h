#pragma once

// A kernel object's handle, closed with its owner.

#include <windows.h>

#include <utility>

namespace kazunavi {

class UniqueHandle {
  public:
    UniqueHandle() = default;
    // Takes the handle as CreateFileW (INVALID_HANDLE_VALUE) or CreateMutexW
    // (null) gives it; either failure value is held as none.
    explicit UniqueHandle(HANDLE handle)
        : handle_(handle == INVALID_HANDLE_VALUE ? nullptr : handle) {}
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) {
            reset();
            handle_ = std::exchange(other.handle_, nullptr);
        }
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    ~UniqueHandle() { reset(); }

    HANDLE get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }
    void reset() {
        if (handle_ != nullptr) {
            ::CloseHandle(std::exchange(handle_, nullptr));
        }
    }
    // Closes now, to see the error a delayed write may report.
    bool close() { return ::CloseHandle(std::exchange(handle_, nullptr)) != 0; }

  private:
    HANDLE handle_ = nullptr;
};

}  // namespace kazunavi
