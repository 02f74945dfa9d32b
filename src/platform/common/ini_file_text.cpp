#include "platform/common/ini_file_text.h"

#include <algorithm>

#include "platform/common/cp932.h"
#include "platform/common/unicode_text.h"
#include "platform/common/utf8.h"

namespace kazunavi {

namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeMark = "\xFF\xFE";

bool isUtf8File(IniFileEncoding encoding) {
    return encoding == IniFileEncoding::kUtf8 || encoding == IniFileEncoding::kUtf8WithBom;
}

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
    // Code page 932 text beyond ASCII is practically never well-formed UTF-8.
    if (!isAscii(bytes) && isUtf8(bytes)) {
        return {IniFileEncoding::kUtf8, IniDocument::parse(bytes, IniCharset::kUtf8)};
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
        case IniFileEncoding::kUtf8:
            break;
    }
    return document.serialize();
}

std::string documentText(std::u16string_view text, IniFileEncoding encoding) {
    if (isUtf8File(encoding)) {
        return toUtf8(text, Utf8Escapes::kBytes);
    }
    std::string narrow = toCp932(text);
    if (encoding == IniFileEncoding::kCp932 || isAscii(narrow)) {
        return narrow;
    }
    return toUtf8(fromCp932(narrow));
}

std::u16string callerText(std::string_view documentText, IniFileEncoding encoding,
                          std::size_t maxUnits) {
    if (isUtf8File(encoding)) {
        std::u16string text = fromUtf8(documentText, Utf8Escapes::kBytes);
        std::size_t length = std::min(maxUnits, text.size());
        if (length > 0 && length < text.size() && text[length - 1] >= 0xD800 &&
            text[length - 1] <= 0xDBFF) {
            --length;
        }
        text.resize(length);
        return text;
    }
    const std::string narrow = encoding == IniFileEncoding::kCp932 || isAscii(documentText)
                                   ? std::string(documentText)
                                   : toCp932(fromUtf8(documentText));
    return fromCp932(std::string_view(narrow).substr(0, cp932PrefixLength(narrow, maxUnits)));
}

}  // namespace kazunavi
