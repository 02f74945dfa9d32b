#pragma once

// The bytes of an INI file and the text the profile functions work with.
// Files are code page 932 unless they start with a byte-order mark.

#include <string>
#include <string_view>

#include "platform/common/ini_document.h"

namespace kazunavi {

enum class IniFileEncoding {
    kCp932,
    kUtf8WithBom,     // edited as UTF-8 by the user; kept so
    kUtf16LeWithBom,  // a Unicode profile file as Windows writes it
};

struct IniFileText {
    IniFileEncoding encoding = IniFileEncoding::kCp932;
    IniDocument document;
};

// Code page 932 files are parsed as they are; files with a byte-order mark as
// UTF-8 (a UTF-16 file is turned into UTF-8 for that).
IniFileText parseIniFile(std::string_view bytes);
// The file's bytes for a document, in the file's encoding and with its mark.
std::string serializeIniFile(const IniDocument& document, IniFileEncoding encoding);

// Between the narrow text of the profile functions (code page 932) and the
// bytes of a document in a file of that encoding.
std::string documentText(std::string narrow, IniFileEncoding encoding);
std::string narrowText(std::string_view documentText, IniFileEncoding encoding);

}  // namespace kazunavi
