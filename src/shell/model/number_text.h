#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Numbers as the running number and the bounds hold them: text converted to
// a double at every use, written back as plain decimal or zero-padded text.
namespace kazunavi::number {

// Blanks around, a sign, digits with a decimal point, an exponent. Anything
// else, the empty text included, and values beyond a double, fail.
double toDouble(std::u16string_view text);
bool isNumber(std::u16string_view text);

// A whole number without leading zeros, a sign only when negative; other
// values with up to 15 significant digits.
std::u16string plainDecimal(double value);

// A 16-bit signed integer; a value outside its range is an overflow failure.
std::int16_t toInt16(long long value);

// The value as a whole number of at least as many digits as the mask has
// zeros (a minus in front of the padded digits); an empty mask gives the
// plain decimal text. A text that is not a number comes back unchanged.
std::u16string formatWithMask(std::u16string_view text, std::u16string_view mask);

}  // namespace kazunavi::number
