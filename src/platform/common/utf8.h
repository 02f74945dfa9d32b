#pragma once

// UTF-8 and the program's UTF-16 text, both ways. Used by the rules that
// print numbers and by every service that trades text with the system.

#include <string>
#include <string_view>

namespace kazunavi {

// What a byte outside a well-formed sequence (cut off, overlong, a surrogate,
// beyond U+10FFFF) decodes to: U+FFFD, or in text of a file that must come
// back byte for byte, the lone low surrogate U+DC00 + byte.
enum class Utf8Escapes { kReplace, kBytes };

std::u16string fromUtf8(std::string_view bytes, Utf8Escapes escapes = Utf8Escapes::kReplace);
// A lone surrogate becomes U+FFFD; with kBytes, U+DC80 to U+DCFF become the
// byte they stand for.
std::string toUtf8(std::u16string_view text, Utf8Escapes escapes = Utf8Escapes::kReplace);
// True when every byte belongs to a well-formed sequence.
bool isUtf8(std::string_view bytes);

}  // namespace kazunavi
