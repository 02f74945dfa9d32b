#include "shell/text.h"

#include <limits>

#include "platform/failure.h"

namespace kazunavi::text {

namespace {

void requireCount(long long n) {
    if (n < 0) {
        throw Failure("negative character count");
    }
}

}  // namespace

std::int32_t length(std::u16string_view s) {
    if (s.size() > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())) {
        throw Failure("text too long");
    }
    return static_cast<std::int32_t>(s.size());
}

std::u16string left(std::u16string_view s, long long n) {
    requireCount(n);
    return std::u16string(s.substr(0, static_cast<std::size_t>(n)));
}

std::u16string right(std::u16string_view s, long long n) {
    requireCount(n);
    const auto count = std::min(static_cast<std::size_t>(n), s.size());
    return std::u16string(s.substr(s.size() - count));
}

std::u16string mid(std::u16string_view s, long long start, long long n) {
    if (start < 1) {
        throw Failure("start position below 1");
    }
    requireCount(n);
    const auto from = static_cast<std::size_t>(start - 1);
    if (from >= s.size()) {
        return {};
    }
    return std::u16string(s.substr(from, static_cast<std::size_t>(n)));
}

std::u16string mid(std::u16string_view s, long long start) {
    return mid(s, start, static_cast<long long>(s.size()));
}

std::int32_t find(std::u16string_view s, std::u16string_view key) {
    if (s.empty()) {
        return 0;
    }
    const auto at = s.find(key);
    return at == std::u16string_view::npos ? 0 : static_cast<std::int32_t>(at + 1);
}

std::u16string fromUtf8(std::string_view s) {
    std::u16string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size();) {
        const auto c = static_cast<unsigned char>(s[i]);
        char32_t cp = 0xFFFD;
        std::size_t extra = 0;
        if (c < 0x80) {
            cp = c;
        } else if ((c & 0xE0) == 0xC0) {
            cp = c & 0x1F;
            extra = 1;
        } else if ((c & 0xF0) == 0xE0) {
            cp = c & 0x0F;
            extra = 2;
        } else if ((c & 0xF8) == 0xF0) {
            cp = c & 0x07;
            extra = 3;
        }
        std::size_t used = 1;
        if (extra > 0) {
            if (i + extra >= s.size()) {
                cp = 0xFFFD;  // cut off inside a character
            } else {
                for (std::size_t k = 1; k <= extra; ++k) {
                    const auto cc = static_cast<unsigned char>(s[i + k]);
                    if ((cc & 0xC0) != 0x80) {
                        cp = 0xFFFD;
                        break;
                    }
                    cp = (cp << 6) | (cc & 0x3F);
                    ++used;
                }
            }
        }
        if (cp >= 0x10000 && cp <= 0x10FFFF) {
            cp -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
        } else {
            out.push_back(cp > 0x10FFFF ? u'\uFFFD' : static_cast<char16_t>(cp));
        }
        i += used;
    }
    return out;
}

std::string toUtf8(std::u16string_view s) {
    std::string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size(); ++i) {
        char32_t cp = s[i];
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < s.size() && s[i + 1] >= 0xDC00 &&
            s[i + 1] <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (s[i + 1] - 0xDC00);
            ++i;
        } else if (cp >= 0xD800 && cp <= 0xDFFF) {
            cp = 0xFFFD;
        }
        if (cp < 0x80) {
            out.push_back(static_cast<char>(cp));
        } else if (cp < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else if (cp < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        }
    }
    return out;
}

}  // namespace kazunavi::text
