#include "platform/common/unicode_text.h"

#include <algorithm>

namespace kazunavi {

namespace {

constexpr char16_t kReplacementCharacter = u'\uFFFD';

}  // namespace

bool isAscii(std::string_view bytes) {
    return std::all_of(bytes.begin(), bytes.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

std::string utf16LeBytes(std::u16string_view text) {
    std::string bytes;
    for (const char16_t unit : text) {
        bytes.push_back(static_cast<char>(unit & 0xFF));
        bytes.push_back(static_cast<char>(unit >> 8));
    }
    return bytes;
}

std::u16string fromUtf16LeBytes(std::string_view bytes) {
    std::u16string text;
    std::size_t i = 0;
    for (; i + 1 < bytes.size(); i += 2) {
        const auto low = static_cast<unsigned char>(bytes[i]);
        const auto high = static_cast<unsigned char>(bytes[i + 1]);
        text.push_back(static_cast<char16_t>(low | (high << 8)));
    }
    if (i < bytes.size()) {
        text.push_back(kReplacementCharacter);
    }
    return text;
}

}  // namespace kazunavi
