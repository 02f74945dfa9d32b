#pragma once

// UTF-8 and the program's UTF-16 text, both ways. Used by the rules that
// print numbers and by every service that trades text with the system.

#include <string>
#include <string_view>

namespace kazunavi {

// Each byte that is not part of a well-formed sequence (cut off, overlong, a
// surrogate, beyond U+10FFFF) becomes U+FFFD.
std::u16string fromUtf8(std::string_view bytes);
// A lone surrogate becomes U+FFFD.
std::string toUtf8(std::u16string_view text);
// True when every byte belongs to a well-formed sequence.
bool isUtf8(std::string_view bytes);

}  // namespace kazunavi
