#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kazunavi::scenario {

// A text as a scenario writes it: in double quotes, with \" \\ \r \n \t and
// \uXXXX for control characters, lone surrogates and the blanks that look
// alike on a terminal (the ideographic space among them). Everything else is
// UTF-8.
std::string quoteText(std::u16string_view text);

// 0x followed by at least minDigits upper-case hexadecimal digits.
std::string hexNumber(std::uint32_t value, int minDigits);

}  // namespace kazunavi::scenario
