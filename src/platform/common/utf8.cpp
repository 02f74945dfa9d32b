#include "platform/common/utf8.h"

namespace kazunavi {

namespace {

constexpr char16_t kReplacement = u'\uFFFD';

bool isContinuation(unsigned char c) {
    return (c & 0xC0) == 0x80;
}

// The code point of the well-formed sequence at the start of `rest` and its
// length in bytes; 0 bytes when the first byte starts none.
struct Decoded {
    char32_t codePoint = 0;
    std::size_t length = 0;
};

Decoded decode(std::string_view rest) {
    const auto first = static_cast<unsigned char>(rest[0]);
    if (first < 0x80) {
        return {first, 1};
    }
    std::size_t extra = 0;
    char32_t cp = 0;
    char32_t smallest = 0;
    if (first >= 0xC2 && first <= 0xDF) {
        extra = 1;
        cp = first & 0x1F;
        smallest = 0x80;
    } else if (first >= 0xE0 && first <= 0xEF) {
        extra = 2;
        cp = first & 0x0F;
        smallest = 0x800;
    } else if (first >= 0xF0 && first <= 0xF4) {
        extra = 3;
        cp = first & 0x07;
        smallest = 0x10000;
    } else {
        return {};
    }
    if (rest.size() <= extra) {
        return {};
    }
    for (std::size_t k = 1; k <= extra; ++k) {
        const auto c = static_cast<unsigned char>(rest[k]);
        if (!isContinuation(c)) {
            return {};
        }
        cp = (cp << 6) | (c & 0x3F);
    }
    if (cp < smallest || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        return {};
    }
    return {cp, extra + 1};
}

}  // namespace

std::u16string fromUtf8(std::string_view bytes, Utf8Escapes escapes) {
    std::u16string text;
    text.reserve(bytes.size());  // never fewer bytes than code units
    for (std::size_t i = 0; i < bytes.size();) {
        const Decoded d = decode(bytes.substr(i));
        if (d.length == 0) {
            const auto byte = static_cast<unsigned char>(bytes[i]);
            text.push_back(escapes == Utf8Escapes::kBytes ? char16_t(0xDC00 + byte) : kReplacement);
            ++i;
            continue;
        }
        if (d.codePoint >= 0x10000) {
            const char32_t v = d.codePoint - 0x10000;
            text.push_back(static_cast<char16_t>(0xD800 + (v >> 10)));
            text.push_back(static_cast<char16_t>(0xDC00 + (v & 0x3FF)));
        } else {
            text.push_back(static_cast<char16_t>(d.codePoint));
        }
        i += d.length;
    }
    return text;
}

bool isUtf8(std::string_view bytes) {
    for (std::size_t i = 0; i < bytes.size();) {
        const std::size_t length = decode(bytes.substr(i)).length;
        if (length == 0) {
            return false;
        }
        i += length;
    }
    return true;
}

std::string toUtf8(std::u16string_view text, Utf8Escapes escapes) {
    std::string bytes;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t cp = text[i];
        if (escapes == Utf8Escapes::kBytes && cp >= 0xDC80 && cp <= 0xDCFF) {
            bytes.push_back(static_cast<char>(cp & 0xFF));
            continue;
        }
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (cp >= 0xD800 && cp <= 0xDFFF) {
            cp = kReplacement;
        }
        if (cp < 0x80) {
            bytes.push_back(static_cast<char>(cp));
        } else if (cp < 0x800) {
            bytes.push_back(static_cast<char>(0xC0 | (cp >> 6)));
            bytes.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else if (cp < 0x10000) {
            bytes.push_back(static_cast<char>(0xE0 | (cp >> 12)));
            bytes.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            bytes.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else {
            bytes.push_back(static_cast<char>(0xF0 | (cp >> 18)));
            bytes.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
            bytes.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            bytes.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        }
    }
    return bytes;
}

}  // namespace kazunavi
