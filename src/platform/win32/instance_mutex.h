#pragma once

// The single-instance check on Windows: a named mutex in the session's
// namespace (Local\), owned by the copy that runs. The system hands an
// owned mutex on as abandoned when its owner ends, also when it crashes or
// is killed, so a dead copy never blocks the next start.

#include <string>

#include "platform/services.h"
#include "platform/win32/handle.h"

namespace kazunavi {

class InstanceMutex : public InstanceCheck {
  public:
    // Takes the program's mutex, if it is free.
    InstanceMutex();
    // Takes the mutex of that name, if it is free.
    explicit InstanceMutex(const std::wstring& name);
    InstanceMutex(const InstanceMutex&) = delete;
    InstanceMutex& operator=(const InstanceMutex&) = delete;
    // Lets the mutex go, on the thread that took it.
    ~InstanceMutex() override;

    // True while another process owns the mutex; when it has become free
    // meanwhile, this object takes it. Throws Failure when the mutex cannot
    // be made or waited for. Ownership is the calling thread's: the program
    // asks on the thread of its window.
    bool anotherRunning() override;

    static constexpr wchar_t kDefaultName[] = L"Local\\Kazunavi.SingleInstance";

  private:
    void tryTake();

    std::wstring name_;
    UniqueHandle mutex_;
    std::string problem_;  // why the mutex is unusable; empty when it is usable
    bool held_ = false;
};

}  // namespace kazunavi
