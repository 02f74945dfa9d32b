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

// A byte that is not (the start of) a character, or the first byte of a
// second code of a character (whose own code is another), decodes to the
// lone low surrogate U+DC00 + byte, which no real text holds: a name read
// from a file is written back with exactly its bytes, whatever they are.
std::u16string fromCp932(std::string_view bytes);

// What a lone U+DC80 to U+DCFF stands for: the byte fromCp932 made it of, or,
// in text of the system (window titles), a broken character.
enum class Cp932Escapes { kBytes, kBroken };

// A character the code page cannot hold becomes one '?' (a surrogate pair
// too, as one character).
std::string toCp932(std::u16string_view text, Cp932Escapes escapes = Cp932Escapes::kBytes);

}  // namespace kazunavi
