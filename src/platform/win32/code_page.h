#pragma once

// Code page 932 as Windows itself converts it (MultiByteToWideChar and
// WideCharToMultiByte with code page 932, never the system's ANSI code
// page). The program's files use the portable table of platform/common,
// which keeps bytes that do not decode; this is Windows' own view of the
// same code page, against which that table is held.

#include <string>
#include <string_view>

namespace kazunavi {

// A byte that does not decode becomes what Windows makes of it (U+30FB).
std::u16string systemFromCp932(std::string_view bytes);

// Windows' best-fit choice for characters the code page has no code of its
// own for; '?' where there is none.
std::string systemToCp932(std::u16string_view text);

}  // namespace kazunavi
