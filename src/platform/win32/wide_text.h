#pragma once

// The program's UTF-16 text and Windows' wide strings, which are the same
// code units, and paths built from them: a path made from narrow text would
// be read in the system's ANSI code page, not as the text it holds.

#include <windows.h>

#include <filesystem>
#include <string>
#include <string_view>

namespace kazunavi {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows' wide strings are UTF-16");

inline std::wstring toWide(std::u16string_view text) {
    return {text.begin(), text.end()};
}

inline std::u16string fromWide(std::wstring_view text) {
    return {text.begin(), text.end()};
}

inline std::filesystem::path pathOf(std::u16string_view text) {
    return std::filesystem::path(toWide(text));
}

// The path as UTF-8, for messages.
std::string displayPath(const std::filesystem::path& path);

// The system's words for an error code, as UTF-8.
std::string errorText(DWORD error);

// Throws Failure saying what could not be done with the path, and why.
[[noreturn]] void failOn(const std::string& what, const std::filesystem::path& path, DWORD error);

}  // namespace kazunavi
