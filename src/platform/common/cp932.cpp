#include "platform/common/cp932.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>

namespace kazunavi {
namespace {

#include "platform/common/cp932_table.inc"

constexpr unsigned char kFirstTrail = 0x40;
constexpr unsigned char kLastTrail = 0xFC;
constexpr char16_t kFirstHalfWidth = 0xFF61;  // the single bytes 0xA1 to 0xDF
constexpr char16_t kLastHalfWidth = 0xFF9F;
constexpr unsigned char kFirstHalfWidthByte = 0xA1;

int leadRow(unsigned char lead) {
    return lead < 0xE0 ? lead - 0x81 : lead - 0xE0 + 31;
}

char16_t doubleByteChar(unsigned char lead, unsigned char trail) {
    if (trail < kFirstTrail || trail > kLastTrail) {
        return 0;
    }
    return kDoubleByteTable[leadRow(lead)][trail - kFirstTrail];
}

// The code of each character of the basic plane (0: none), built from the
// decoding table at the first encoding.
using EncodeTable = std::array<std::uint16_t, 0x10000>;

std::unique_ptr<EncodeTable> makeEncodeTable() {
    auto table = std::make_unique<EncodeTable>();
    table->fill(0);
    for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
        if (!isCp932LeadByte(static_cast<unsigned char>(lead))) {
            continue;
        }
        for (unsigned trail = kFirstTrail; trail <= kLastTrail; ++trail) {
            const char16_t c =
                doubleByteChar(static_cast<unsigned char>(lead), static_cast<unsigned char>(trail));
            if (c != 0 && (*table)[c] == 0) {
                (*table)[c] = static_cast<std::uint16_t>(lead << 8 | trail);
            }
        }
    }
    for (char16_t c = kFirstHalfWidth; c <= kLastHalfWidth; ++c) {
        (*table)[c] = static_cast<std::uint16_t>(c - kFirstHalfWidth + kFirstHalfWidthByte);
    }
    for (const auto& [c, code] : kEncodeExceptions) {
        (*table)[c] = code;
    }
    return table;
}

const EncodeTable& encodeTable() {
    static const std::unique_ptr<EncodeTable> table = makeEncodeTable();
    return *table;
}

// A byte that does not decode (always 0x80 or more) stands as U+DC00 + byte.
constexpr char16_t kEscapeBase = 0xDC00;

bool isEscape(char16_t c) {
    return c >= kEscapeBase + 0x80 && c <= kEscapeBase + 0xFF;
}

}  // namespace

std::size_t cp932PrefixLength(std::string_view bytes, std::size_t maxBytes) {
    std::size_t length = 0;
    while (length < bytes.size()) {
        const std::size_t next =
            length + (isCp932LeadByte(static_cast<unsigned char>(bytes[length])) ? 2 : 1);
        if (next > maxBytes) {
            break;
        }
        length = next;
    }
    // A lead byte at the very end has no second byte; it counts as one character.
    return std::min(length, bytes.size());
}

std::string toCp932(std::u16string_view text, Cp932Escapes escapes) {
    std::string bytes;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        // A low surrogate met here is a lone one: a pair is taken at its first half.
        if (c < 0x80 || (escapes == Cp932Escapes::kBytes && isEscape(c))) {
            bytes += static_cast<char>(c & 0xFF);
            continue;
        }
        // Surrogates have no code of their own in the table.
        const std::uint16_t code = encodeTable()[c];
        if (code == 0) {
            // A surrogate pair is one character, and one '?'.
            if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
                text[i + 1] <= 0xDFFF) {
                ++i;
            }
            bytes += '?';
        } else if (code > 0xFF) {
            bytes += static_cast<char>(code >> 8);
            bytes += static_cast<char>(code & 0xFF);
        } else {
            bytes += static_cast<char>(code);
        }
    }
    return bytes;
}

std::u16string fromCp932(std::string_view bytes) {
    std::u16string text;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        const auto trail = i + 1 < bytes.size() ? static_cast<unsigned char>(bytes[i + 1]) : 0;
        const char16_t pair = isCp932LeadByte(byte) ? doubleByteChar(byte, trail) : 0;
        if (byte < 0x80) {
            text += static_cast<char16_t>(byte);
        } else if (byte >= kFirstHalfWidthByte && byte <= 0xDF) {
            text += static_cast<char16_t>(byte - kFirstHalfWidthByte + kFirstHalfWidth);
        } else if (pair != 0 && encodeTable()[pair] == (byte << 8 | trail)) {
            text += pair;
            ++i;
        } else {
            // This byte alone is escaped, the next one read anew.
            text += static_cast<char16_t>(kEscapeBase + byte);
        }
    }
    return text;
}

}  // namespace kazunavi
