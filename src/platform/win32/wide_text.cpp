#include "platform/win32/wide_text.h"

#include <array>

#include "platform/common/utf8.h"
#include "platform/failure.h"

namespace kazunavi {

std::string displayPath(const std::filesystem::path& path) {
    return toUtf8(fromWide(path.native()));
}

std::string errorText(DWORD error) {
    std::array<wchar_t, 512> buffer{};
    DWORD length =
        ::FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error,
                         0, buffer.data(), static_cast<DWORD>(buffer.size()), nullptr);
    while (length > 0 && (buffer[length - 1] == L'\r' || buffer[length - 1] == L'\n' ||
                          buffer[length - 1] == L' ' || buffer[length - 1] == L'.')) {
        --length;
    }
    std::string text = "error " + std::to_string(error);
    if (length > 0) {
        text += " (" + toUtf8(fromWide(std::wstring_view(buffer.data(), length))) + ")";
    }
    return text;
}

void failOn(const std::string& what, const std::filesystem::path& path, DWORD error) {
    throw Failure(what + " " + displayPath(path) + ": " + errorText(error));
}

}  // namespace kazunavi
