#include "runner/value_text.h"

#include <algorithm>

#include "platform/common/utf8.h"

namespace kazunavi::scenario {

namespace {

// Characters that print as nothing or as an ordinary blank.
bool looksBlank(char16_t c) {
    return c == 0x00A0 || c == 0x00AD || c == 0x1680 || (c >= 0x2000 && c <= 0x200F) ||
           (c >= 0x2028 && c <= 0x202F) || (c >= 0x205F && c <= 0x206F) || c == 0x3000 ||
           c == 0xFEFF;
}

bool isSurrogate(char16_t c) {
    return c >= 0xD800 && c <= 0xDFFF;
}

void appendHexDigits(std::string& out, std::uint32_t value, int digits) {
    constexpr char kDigits[] = "0123456789ABCDEF";
    for (int shift = (digits - 1) * 4; shift >= 0; shift -= 4) {
        out.push_back(kDigits[(value >> shift) & 0xF]);
    }
}

}  // namespace

std::string quoteText(std::u16string_view text) {
    std::string out = "\"";
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        switch (c) {
            case u'"':
                out += "\\\"";
                continue;
            case u'\\':
                out += "\\\\";
                continue;
            case u'\r':
                out += "\\r";
                continue;
            case u'\n':
                out += "\\n";
                continue;
            case u'\t':
                out += "\\t";
                continue;
            default:
                break;
        }
        const bool pairedHigh = c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() &&
                                text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF;
        if (pairedHigh) {
            out += toUtf8(text.substr(i, 2));
            ++i;
        } else if (c < 0x20 || c == 0x7F || (c >= 0x80 && c < 0xA0) || isSurrogate(c) ||
                   looksBlank(c)) {
            out += "\\u";
            appendHexDigits(out, c, 4);
        } else {
            out += toUtf8(text.substr(i, 1));
        }
    }
    out += '"';
    return out;
}

std::string hexNumber(std::uint32_t value, int minDigits) {
    int digits = 1;
    while (digits < 8 && (value >> (digits * 4)) != 0) {
        ++digits;
    }
    std::string out = "0x";
    appendHexDigits(out, value, std::max(digits, minDigits));
    return out;
}

}  // namespace kazunavi::scenario
