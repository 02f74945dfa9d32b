#pragma once

// UTF-16 byte helpers for the code page and INI file conversions.

#include <cstddef>
#include <string>
#include <string_view>

namespace kazunavi {

bool isAscii(std::string_view bytes);
bool isAscii(std::u16string_view text);

// Text as UTF-16 little-endian bytes, and back; a lone last byte becomes U+FFFD.
std::string utf16LeBytes(std::u16string_view text);
std::u16string fromUtf16LeBytes(std::string_view bytes);

// The byte length of the UTF-16LE code point at the start of `rest`: 4 for a
// surrogate pair, else 2 (or what is left).
std::size_t utf16LeCodePointLength(std::string_view rest);

}  // namespace kazunavi
