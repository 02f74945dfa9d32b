#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The text rules every handler leans on. Positions count UTF-16 code units
// from 1; a negative count is a failure; a count beyond the text gives the
// whole text.
namespace kazunavi::text {

std::int32_t length(std::u16string_view s);

// The first n characters.
std::u16string left(std::u16string_view s, long long n);
// The last n characters.
std::u16string right(std::u16string_view s, long long n);
// n characters from position start (1-based); start below 1 is a failure.
std::u16string mid(std::u16string_view s, long long start, long long n);
// Everything from position start (1-based) to the end.
std::u16string mid(std::u16string_view s, long long start);

// Position of the first occurrence of key in s, case-sensitive; 0 when
// absent. An empty key is found at 1 in a non-empty text; an empty text
// holds nothing.
std::int32_t find(std::u16string_view s, std::u16string_view key);

}  // namespace kazunavi::text
