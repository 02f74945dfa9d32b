#include "platform/common/ini_file_text.h"

#include "platform/common/cp932.h"
#include "platform/common/unicode_text.h"
#include "platform/common/utf8.h"

namespace kazunavi {

namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeMark = "\xFF\xFE";

}  // namespace

IniFileText parseIniFile(std::string_view bytes) {
    if (bytes.starts_with(kUtf8Mark)) {
        bytes.remove_prefix(kUtf8Mark.size());
        return {IniFileEncoding::kUtf8WithBom, IniDocument::parse(bytes, IniCharset::kUtf8)};
    }
    if (bytes.starts_with(kUtf16LeMark)) {
        bytes.remove_prefix(kUtf16LeMark.size());
        return {IniFileEncoding::kUtf16LeWithBom,
                IniDocument::parse(toUtf8(fromUtf16LeBytes(bytes)), IniCharset::kUtf8)};
    }
    return {IniFileEncoding::kCp932, IniDocument::parse(bytes, IniCharset::kCp932)};
}

std::string serializeIniFile(const IniDocument& document, IniFileEncoding encoding) {
    switch (encoding) {
        case IniFileEncoding::kUtf8WithBom:
            return std::string(kUtf8Mark) + document.serialize();
        case IniFileEncoding::kUtf16LeWithBom:
            return std::string(kUtf16LeMark) + utf16LeBytes(fromUtf8(document.serialize()));
        case IniFileEncoding::kCp932:
            break;
    }
    return document.serialize();
}

std::string documentText(std::string narrow, IniFileEncoding encoding) {
    if (encoding == IniFileEncoding::kCp932 || isAscii(narrow)) {
        return narrow;
    }
    return toUtf8(fromCp932(narrow));
}

std::string narrowText(std::string_view documentText, IniFileEncoding encoding) {
    if (encoding == IniFileEncoding::kCp932 || isAscii(documentText)) {
        return std::string(documentText);
    }
    return toCp932(fromUtf8(documentText));
}

}  // namespace kazunavi
