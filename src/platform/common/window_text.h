#pragma once

// A window's title as the narrow window-text call gives it: code page 932, at
// most bufferSize-1 bytes, never cut inside a double-byte character.

#include <string>
#include <string_view>

namespace kazunavi {

// Empty for a buffer of no bytes; a character the code page cannot hold,
// and a lone surrogate, becomes '?'.
std::u16string narrowWindowText(std::u16string_view title, int bufferSize);

}  // namespace kazunavi
