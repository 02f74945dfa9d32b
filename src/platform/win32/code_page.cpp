#include "platform/win32/code_page.h"

#include <windows.h>

#include "platform/failure.h"
#include "platform/win32/wide_text.h"

namespace kazunavi {

namespace {

constexpr UINT kCodePage = 932;

}  // namespace

std::u16string systemFromCp932(std::string_view bytes) {
    if (bytes.empty()) {
        return {};
    }
    const int size = static_cast<int>(bytes.size());
    std::wstring text(bytes.size(), L'\0');
    const int length = ::MultiByteToWideChar(kCodePage, 0, bytes.data(), size, text.data(), size);
    if (length == 0) {
        throw Failure("code page 932: cannot decode: " + errorText(::GetLastError()));
    }
    text.resize(static_cast<std::size_t>(length));
    return fromWide(text);
}

std::string systemToCp932(std::u16string_view text) {
    if (text.empty()) {
        return {};
    }
    const std::wstring wide = toWide(text);
    const int size = static_cast<int>(wide.size());
    std::string bytes(wide.size() * 2, '\0');
    const int length = ::WideCharToMultiByte(kCodePage, 0, wide.data(), size, bytes.data(),
                                             static_cast<int>(bytes.size()), nullptr, nullptr);
    if (length == 0) {
        throw Failure("code page 932: cannot encode: " + errorText(::GetLastError()));
    }
    bytes.resize(static_cast<std::size_t>(length));
    return bytes;
}

}  // namespace kazunavi
