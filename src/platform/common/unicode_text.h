#pragma once

// UTF-16 byte helpers for the code page and INI file conversions.

#include <cstddef>
#include <string>
#include <string_view>

namespace kazunavi {

bool isAscii(std::string_view bytes);

// Text as UTF-16 little-endian bytes, and back; a lone last byte becomes U+FFFD.
std::string utf16LeBytes(std::u16string_view text);
std::u16string fromUtf16LeBytes(std::string_view bytes);

}  // namespace kazunavi
