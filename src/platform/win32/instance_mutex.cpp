#include "platform/win32/instance_mutex.h"

#include <windows.h>

#include "platform/common/utf8.h"
#include "platform/failure.h"
#include "platform/win32/wide_text.h"

namespace kazunavi {

InstanceMutex::InstanceMutex() : InstanceMutex(kDefaultName) {}

InstanceMutex::InstanceMutex(const std::wstring& name)
    : name_(name), mutex_(::CreateMutexW(nullptr, FALSE, name.c_str())) {
    if (!mutex_) {
        problem_ = "instance mutex " + toUtf8(fromWide(name_)) +
                   ": cannot create: " + errorText(::GetLastError());
        return;
    }
    tryTake();
}

InstanceMutex::~InstanceMutex() {
    if (held_) {
        ::ReleaseMutex(mutex_.get());
    }
}

bool InstanceMutex::anotherRunning() {
    if (!held_ && problem_.empty()) {
        tryTake();
    }
    if (!problem_.empty()) {
        throw Failure(problem_);
    }
    return !held_;
}

void InstanceMutex::tryTake() {
    switch (::WaitForSingleObject(mutex_.get(), 0)) {
        case WAIT_OBJECT_0:
        case WAIT_ABANDONED:  // its owner ended without letting it go
            held_ = true;
            break;
        case WAIT_TIMEOUT:
            break;
        default:
            problem_ = "instance mutex " + toUtf8(fromWide(name_)) +
                       ": cannot wait: " + errorText(::GetLastError());
    }
}

}  // namespace kazunavi
