// Random bytes as an INI file: parsing, reads, writes and section removals
// must never crash, must write untouched text back byte for byte, and must
// read back what they wrote.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/common/cp932.h"
#include "platform/common/ini_document.h"
#include "platform/common/ini_file_text.h"

namespace kazunavi {
namespace {

void check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\v' || c == '\f';
}

std::string_view beforeLineBreak(std::string_view text) {
    return text.substr(0, std::min(text.find_first_of("\r\n"), text.size()));
}

// The characters of a text as code page 932 steps through them: true when no
// character is cut off at the end and none at a top-level position is `c`.
bool wholeWithout(std::string_view text, IniCharset charset, char c) {
    for (std::size_t i = 0; i < text.size();) {
        if (charset == IniCharset::kCp932 && isCp932LeadByte(static_cast<unsigned char>(text[i]))) {
            if (i + 1 >= text.size()) {
                return false;
            }
            i += 2;
        } else {
            if (text[i] == c) {
                return false;
            }
            ++i;
        }
    }
    return true;
}

std::string_view trimBlanks(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

// What a read gives for a value written as is.
std::string readForm(std::string_view value) {
    value = trimBlanks(value);
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        value = value.substr(1, value.size() - 2);
    }
    return std::string(value);
}

std::optional<std::string> valueOf(const IniDocument& document, std::string_view section,
                                   std::string_view key) {
    const auto value = document.value(section, key);
    return value ? std::optional<std::string>(*value) : std::nullopt;
}

void checkPrefixLength(std::string_view bytes, std::size_t maxBytes) {
    const std::size_t length = cp932PrefixLength(bytes, maxBytes);
    check(length <= bytes.size());
    // Walk the characters: the prefix ends at a character boundary, and the
    // next character would not fit (or the text is whole).
    std::size_t at = 0;
    while (at < length) {
        at += isCp932LeadByte(static_cast<unsigned char>(bytes[at])) ? 2 : 1;
    }
    check(at == length || (at == length + 1 && length == bytes.size()));
    if (length < bytes.size()) {
        check(length + (isCp932LeadByte(static_cast<unsigned char>(bytes[length])) ? 2 : 1) >
              maxBytes);
        check(length <= maxBytes);
    }
}

}  // namespace
}  // namespace kazunavi

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kazunavi;
    FuzzedDataProvider input(data, size);
    const IniCharset charset = input.ConsumeBool() ? IniCharset::kCp932 : IniCharset::kUtf8;
    const std::string text = input.ConsumeRandomLengthString(4096);

    // Untouched text is written back byte for byte, and so are whole files.
    IniDocument document = IniDocument::parse(text, charset);
    check(document.serialize() == text);
    // A UTF-16 file becomes UTF-8 in memory; written once, it stays as it is.
    const IniFileText file = parseIniFile(text);
    const std::string written = serializeIniFile(file.document, file.encoding);
    if (file.encoding != IniFileEncoding::kUtf16LeWithBom) {
        check(written == text);
    }
    const IniFileText again = parseIniFile(written);
    check(again.encoding == file.encoding);
    check(serializeIniFile(again.document, again.encoding) == written);

    // The narrow text of a read never throws, whatever the bytes.
    const std::u16string decoded = fromCp932(text);
    checkPrefixLength(text, input.ConsumeIntegralInRange<std::size_t>(0, text.size() + 2));
    (void)toCp932(decoded);

    std::vector<std::pair<std::string, std::string>> asked;
    while (input.remaining_bytes() > 0) {
        const int operation = input.ConsumeIntegralInRange(0, 3);
        const std::string section = input.ConsumeRandomLengthString(24);
        const std::string key = input.ConsumeRandomLengthString(24);
        asked.emplace_back(section, key);
        switch (operation) {
            case 0:
            case 1: {
                const std::string value = input.ConsumeRandomLengthString(128);
                document.set(section, key, value);
                // A write is read back, when its names survive the file's syntax.
                const std::string_view s = trimBlanks(beforeLineBreak(section));
                const std::string_view k = trimBlanks(beforeLineBreak(key));
                if (wholeWithout(s, charset, ']') && k.find('=') == std::string_view::npos &&
                    !k.starts_with(';') && !k.starts_with('[')) {
                    check(valueOf(document, s, k) == readForm(beforeLineBreak(value)));
                }
                break;
            }
            case 2:
                document.removeSection(section);
                break;
            default:
                (void)document.value(section, key);
                break;
        }
        // The text in memory is the text a new reading of the file gives.
        const std::string now = document.serialize();
        const IniDocument reread = IniDocument::parse(now, charset);
        check(reread.serialize() == now);
        for (const auto& [s, k] : asked) {
            check(valueOf(document, s, k) == valueOf(reread, s, k));
        }
    }
    return 0;
}
