#pragma once

// Code page 932 (Shift_JIS as Windows has it), the narrow encoding of the
// program's files and window texts. One table on every platform, so that the
// same text always makes the same bytes.

#include <cstddef>
#include <string>
#include <string_view>

namespace kazunavi {

// Lead bytes of double-byte characters.
constexpr bool isCp932LeadByte(unsigned char byte) {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

// The longest prefix of at most maxBytes bytes that does not end inside a
// double-byte character.
std::size_t cp932PrefixLength(std::string_view bytes, std::size_t maxBytes);

// A character the code page cannot hold becomes one '?' (a surrogate pair
// too, as one character).
std::string toCp932(std::u16string_view text);
// Bytes that are not valid code page 932 become U+FFFD, one per byte.
std::u16string fromCp932(std::string_view bytes);

}  // namespace kazunavi
