#include "platform/win32/shell_browser.h"

#include <windows.h>
// After windows.h, on which it builds.
#include <shellapi.h>
#include <shlwapi.h>

#include <algorithm>
#include <array>
#include <cstdint>

#include "platform/failure.h"
#include "platform/win32/wide_text.h"

namespace kazunavi {

namespace {

constexpr std::array<std::u16string_view, 2> kWebSchemes = {u"http", u"https"};

char16_t lower(char16_t c) {
    return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c;
}

bool isSchemeChar(char16_t c, bool first) {
    const char16_t l = lower(c);
    return (l >= u'a' && l <= u'z') ||
           (!first && ((c >= u'0' && c <= u'9') || c == u'+' || c == u'-' || c == u'.'));
}

// True when the text after a host's ':' is its port: digits up to the path.
bool isPort(std::u16string_view rest) {
    const std::size_t end = std::min(rest.find_first_of(u"/?#"), rest.size());
    return end > 0 && std::all_of(rest.begin(), rest.begin() + static_cast<std::ptrdiff_t>(end),
                                  [](char16_t c) { return c >= u'0' && c <= u'9'; });
}

// The scheme before the first ':', lower case; nothing when there is none.
// One letter is a drive (C:\...), digits after it a port (example.org:8080).
std::optional<std::u16string> schemeOf(std::u16string_view address) {
    const std::size_t colon = address.find(u':');
    if (colon == std::u16string_view::npos || colon < 2 || isPort(address.substr(colon + 1))) {
        return std::nullopt;
    }
    std::u16string scheme;
    for (std::size_t i = 0; i < colon; ++i) {
        if (!isSchemeChar(address[i], i == 0)) {
            return std::nullopt;
        }
        scheme += lower(address[i]);
    }
    return scheme;
}

}  // namespace

std::wstring shellAddressFor(std::u16string_view address) {
    if (address.empty()) {
        throw Failure("browser: no address to visit");
    }
    if (address.front() == u'-') {
        throw Failure("browser: an address beginning with '-' would be read as an option");
    }
    if (std::any_of(address.begin(), address.end(),
                    [](char16_t c) { return c < 0x20 || c == 0x7F; })) {
        throw Failure("browser: the address holds a control character");
    }
    const std::optional<std::u16string> scheme = schemeOf(address);
    if (!scheme) {
        return L"http://" + toWide(address);
    }
    if (std::find(kWebSchemes.begin(), kWebSchemes.end(), *scheme) == kWebSchemes.end()) {
        throw Failure("browser: not a web address");
    }
    return toWide(address);
}

void ShellBrowser::navigate(std::u16string_view address) {
    std::wstring target;
    std::wstring parameters;
    if (!ownPageAddress_.empty() && address == ownPageAddress_) {
        // The browser program itself, given the address.
        std::array<wchar_t, MAX_PATH> browser{};
        auto size = static_cast<DWORD>(browser.size());
        if (::AssocQueryStringW(ASSOCF_NONE, ASSOCSTR_EXECUTABLE, L"http", L"open", browser.data(),
                                &size) != S_OK) {
            throw Failure("browser: no program opens web addresses");
        }
        target = browser.data();
        parameters = L"\"" + toWide(address) + L"\"";
    } else {
        target = shellAddressFor(address);
    }
    // The shell's result is a number above 32 on success, an error below.
    const auto result = reinterpret_cast<std::intptr_t>(
        ::ShellExecuteW(nullptr, L"open", target.c_str(),
                        parameters.empty() ? nullptr : parameters.c_str(), nullptr, SW_SHOWNORMAL));
    if (result <= 32) {
        throw Failure("browser: the shell cannot open the address: " +
                      errorText(static_cast<DWORD>(result)));
    }
}

}  // namespace kazunavi
