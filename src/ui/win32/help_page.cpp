#include "ui/win32/help_page.h"

#include <windows.h>

#include <string>

namespace kazunavi {

std::filesystem::path helpPagePath() {
    std::wstring file(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            ::GetModuleFileNameW(nullptr, file.data(), static_cast<DWORD>(file.size()));
        if (length < file.size()) {
            file.resize(length);
            break;
        }
        file.resize(file.size() * 2);
    }
    return std::filesystem::path(file).parent_path() / L"help" / L"index.html";
}

std::u16string helpPageAddress() {
    constexpr char16_t kHex[] = u"0123456789ABCDEF";
    std::u16string address = u"file:///";
    // Percent-encoded as UTF-8, as a browser reads a file address.
    for (char8_t byte : helpPagePath().generic_u8string()) {
        const bool plain = (byte >= u8'a' && byte <= u8'z') || (byte >= u8'A' && byte <= u8'Z') ||
                           (byte >= u8'0' && byte <= u8'9') ||
                           std::u16string_view(u"/:-._~").find(static_cast<char16_t>(byte)) !=
                               std::u16string_view::npos;
        if (plain) {
            address += static_cast<char16_t>(byte);
        } else {
            address += u'%';
            address += kHex[byte >> 4];
            address += kHex[byte & 0xF];
        }
    }
    return address;
}

}  // namespace kazunavi
