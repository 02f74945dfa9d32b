#include "platform/win32/win32_clipboard.h"

#include <algorithm>
#include <utility>

#include "platform/failure.h"
#include "platform/win32/wide_text.h"

namespace kazunavi {

namespace {

[[noreturn]] void fail(const std::string& what) {
    throw Failure("clipboard: " + what + ": " + errorText(::GetLastError()));
}

// The clipboard, open for this program until the session ends.
class ClipboardSession {
  public:
    explicit ClipboardSession(HWND owner) {
        if (!::OpenClipboard(owner)) {
            fail("cannot open it (another program holds it)");
        }
    }
    ClipboardSession(const ClipboardSession&) = delete;
    ClipboardSession& operator=(const ClipboardSession&) = delete;
    ~ClipboardSession() { ::CloseClipboard(); }
};

// Movable memory for the clipboard, freed unless the clipboard took it.
class GlobalMemory {
  public:
    explicit GlobalMemory(std::size_t bytes) : memory_(::GlobalAlloc(GMEM_MOVEABLE, bytes)) {
        if (memory_ == nullptr) {
            fail("no memory for the text");
        }
    }
    GlobalMemory(const GlobalMemory&) = delete;
    GlobalMemory& operator=(const GlobalMemory&) = delete;
    ~GlobalMemory() {
        if (memory_ != nullptr) {
            ::GlobalFree(memory_);
        }
    }
    HGLOBAL get() const { return memory_; }
    void handedOver() { memory_ = nullptr; }

  private:
    HGLOBAL memory_;
};

// The memory's content, locked while the view lives.
class LockedMemory {
  public:
    explicit LockedMemory(HGLOBAL memory)
        : memory_(memory), data_(static_cast<wchar_t*>(::GlobalLock(memory))) {}
    LockedMemory(const LockedMemory&) = delete;
    LockedMemory& operator=(const LockedMemory&) = delete;
    ~LockedMemory() {
        if (data_ != nullptr) {
            ::GlobalUnlock(memory_);
        }
    }
    wchar_t* data() const { return data_; }
    std::size_t size() const { return ::GlobalSize(memory_) / sizeof(wchar_t); }

  private:
    HGLOBAL memory_;
    wchar_t* data_;
};

}  // namespace

bool Win32Clipboard::hasText() {
    return ::IsClipboardFormatAvailable(CF_UNICODETEXT) != 0;
}

SharedText Win32Clipboard::text() {
    // 0: the count cannot be read here; then every call reads.
    const DWORD sequence = ::GetClipboardSequenceNumber();
    if (sequence != 0 && last_ && last_->sequence == sequence) {
        return last_->text;
    }
    last_.reset();
    const ClipboardSession open(owner_);
    const HANDLE data = ::GetClipboardData(CF_UNICODETEXT);
    SharedText read;
    if (data != nullptr) {
        const LockedMemory text(data);
        if (text.data() == nullptr) {
            fail("cannot read the text");
        }
        // The memory may be larger than the text; the text ends at its NUL.
        const wchar_t* end = std::find(text.data(), text.data() + text.size(), L'\0');
        read =
            fromWide(std::wstring_view(text.data(), static_cast<std::size_t>(end - text.data())));
    }
    // A change during the reading moved the count past this one: read again next time.
    last_ = Read{sequence, read};
    return read;
}

void Win32Clipboard::clear() {
    const ClipboardSession open(owner_);
    if (!::EmptyClipboard()) {
        fail("cannot clear it");
    }
}

void Win32Clipboard::setText(std::u16string_view text) {
    GlobalMemory memory((text.size() + 1) * sizeof(wchar_t));
    {
        const LockedMemory locked(memory.get());
        if (locked.data() == nullptr) {
            fail("cannot write the text");
        }
        std::copy(text.begin(), text.end(), locked.data());
        locked.data()[text.size()] = L'\0';
    }
    const ClipboardSession open(owner_);
    if (!::EmptyClipboard()) {
        fail("cannot clear it");
    }
    if (::SetClipboardData(CF_UNICODETEXT, memory.get()) == nullptr) {
        fail("cannot put the text on it");
    }
    memory.handedOver();
}

}  // namespace kazunavi
