#pragma once

// The bytes of an INI file and the text the profile functions work with.
// Files are code page 932 unless they start with a byte-order mark or are
// UTF-8 with text beyond ASCII.

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/common/ini_document.h"

namespace kazunavi {

enum class IniFileEncoding {
    kCp932,
    kUtf8,            // saved by an editor as UTF-8; kept so, without a mark
    kUtf8WithBom,     // edited as UTF-8 by the user; kept so
    kUtf16LeWithBom,  // a Unicode profile file as Windows writes it
};

struct IniFileText {
    IniFileEncoding encoding = IniFileEncoding::kCp932;
    IniDocument document;
};

// Code page 932 files are parsed as they are; the others as UTF-8 (a UTF-16
// file is turned into UTF-8 for that).
IniFileText parseIniFile(std::string_view bytes);
// The file's bytes for a document, in the file's encoding and with its mark.
std::string serializeIniFile(const IniDocument& document, IniFileEncoding encoding);

// Between the caller's text and the bytes of a document in a file of that
// encoding. The narrow functions trade code page 932, and a UTF-16 file
// holds what they give; a UTF-8 file is Unicode throughout, so that none of
// its characters is lost on the way.
std::string documentText(std::u16string_view text, IniFileEncoding encoding);
// At most maxUnits of it: bytes of code page 932, never half a double-byte
// character, or in a UTF-8 file UTF-16 units, never half a surrogate pair.
std::u16string callerText(std::string_view documentText, IniFileEncoding encoding,
                          std::size_t maxUnits);

}  // namespace kazunavi
