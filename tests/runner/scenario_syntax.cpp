#include "runner/scenario_syntax.h"

#include <algorithm>
#include <limits>

#include "platform/common/utf8.h"

namespace kazunavi::scenario {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view trimBlanks(std::string_view s) {
    while (!s.empty() && isBlank(s.front())) {
        s.remove_prefix(1);
    }
    while (!s.empty() && isBlank(s.back())) {
        s.remove_suffix(1);
    }
    return s;
}

// Lines end in LF or CR LF; the line terminator is not part of the line.
std::vector<std::string_view> splitLines(std::string_view source) {
    std::vector<std::string_view> lines;
    while (!source.empty()) {
        const auto end = source.find('\n');
        std::string_view line = source.substr(0, end);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        lines.push_back(line);
        if (end == std::string_view::npos) {
            break;
        }
        source.remove_prefix(end + 1);
    }
    return lines;
}

// Well-formed UTF-8: no stray continuation bytes, no overlong forms, no
// surrogates, nothing beyond U+10FFFF.
bool isUtf8(std::string_view s) {
    for (std::size_t i = 0; i < s.size();) {
        const auto c = static_cast<unsigned char>(s[i]);
        std::size_t extra = 0;
        char32_t cp = 0;
        char32_t least = 0;
        if (c < 0x80) {
            ++i;
            continue;
        } else if ((c & 0xE0) == 0xC0) {
            extra = 1;
            cp = c & 0x1F;
            least = 0x80;
        } else if ((c & 0xF0) == 0xE0) {
            extra = 2;
            cp = c & 0x0F;
            least = 0x800;
        } else if ((c & 0xF8) == 0xF0) {
            extra = 3;
            cp = c & 0x07;
            least = 0x10000;
        } else {
            return false;
        }
        if (i + extra >= s.size()) {
            return false;
        }
        for (std::size_t k = 1; k <= extra; ++k) {
            const auto cc = static_cast<unsigned char>(s[i + k]);
            if ((cc & 0xC0) != 0x80) {
                return false;
            }
            cp = (cp << 6) | (cc & 0x3F);
        }
        if (cp < least || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
            return false;
        }
        i += extra + 1;
    }
    return true;
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

char16_t escaped(std::string_view line, std::size_t& pos, int lineNo) {
    if (pos >= line.size()) {
        throw SyntaxError(lineNo, "a string ends in a lone backslash");
    }
    const char c = line[pos++];
    switch (c) {
        case '"':
            return u'"';
        case '\\':
            return u'\\';
        case 'r':
            return u'\r';
        case 'n':
            return u'\n';
        case 't':
            return u'\t';
        case 'u': {
            char16_t unit = 0;
            for (int k = 0; k < 4; ++k) {
                const int d = pos < line.size() ? hexDigit(line[pos]) : -1;
                if (d < 0) {
                    throw SyntaxError(lineNo, "\\u must be followed by four hexadecimal digits");
                }
                unit = static_cast<char16_t>(unit * 16 + d);
                ++pos;
            }
            return unit;
        }
        default:
            throw SyntaxError(lineNo, std::string("unknown escape \\") + c + " in a string");
    }
}

// pos stands on the opening quote; on return it stands after the closing one.
Token readString(std::string_view line, std::size_t& pos, int lineNo) {
    Token token;
    token.quoted = true;
    ++pos;
    std::size_t runStart = pos;
    auto flushRun = [&] { token.text += fromUtf8(line.substr(runStart, pos - runStart)); };
    for (;;) {
        if (pos >= line.size()) {
            throw SyntaxError(lineNo, "a string is not closed by a double quote");
        }
        const char c = line[pos];
        if (c == '"') {
            flushRun();
            ++pos;
            break;
        }
        if (c == '\\') {
            flushRun();
            ++pos;
            token.text.push_back(escaped(line, pos, lineNo));
            runStart = pos;
            continue;
        }
        ++pos;
    }
    if (pos < line.size() && !isBlank(line[pos])) {
        throw SyntaxError(lineNo, "a blank must follow the closing double quote");
    }
    return token;
}

std::vector<Token> tokenize(std::string_view line, int lineNo) {
    std::vector<Token> tokens;
    std::size_t pos = 0;
    for (;;) {
        while (pos < line.size() && isBlank(line[pos])) {
            ++pos;
        }
        if (pos >= line.size()) {
            break;
        }
        if (line[pos] == '"') {
            tokens.push_back(readString(line, pos, lineNo));
            continue;
        }
        const std::size_t start = pos;
        while (pos < line.size() && !isBlank(line[pos])) {
            if (line[pos] == '"') {
                throw SyntaxError(lineNo, "a double quote inside a word");
            }
            ++pos;
        }
        Token word;
        word.word = std::string(line.substr(start, pos - start));
        tokens.push_back(std::move(word));
    }
    return tokens;
}

}  // namespace

Script parseScript(std::string_view source) {
    constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    if (source.starts_with(kByteOrderMark)) {
        source.remove_prefix(kByteOrderMark.size());
    }
    const std::vector<std::string_view> lines = splitLines(source);
    Script script;
    script.lastLine = std::max(1, static_cast<int>(lines.size()));
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const int lineNo = static_cast<int>(i) + 1;
        const std::string_view line = lines[i];
        if (!isUtf8(line)) {
            throw SyntaxError(lineNo, "the line is not UTF-8 text");
        }
        const std::string_view content = trimBlanks(line);
        if (content.empty() || content.front() == '#') {
            continue;
        }
        CommandLine command;
        command.line = lineNo;
        command.tokens = tokenize(line, lineNo);
        if (!command.tokens.empty() && !command.tokens.back().quoted &&
            command.tokens.back().word == "<<") {
            command.tokens.pop_back();
            std::vector<std::string> block;
            std::size_t j = i + 1;
            while (j < lines.size() && trimBlanks(lines[j]) != ">>") {
                if (!isUtf8(lines[j])) {
                    throw SyntaxError(static_cast<int>(j) + 1, "the line is not UTF-8 text");
                }
                block.emplace_back(lines[j]);
                ++j;
            }
            if (j == lines.size()) {
                throw SyntaxError(lineNo, "the block opened here has no line holding only >>");
            }
            command.block = std::move(block);
            i = j;
        }
        script.commands.push_back(std::move(command));
    }
    return script;
}

std::optional<long long> parseInteger(std::string_view word) {
    bool negative = false;
    if (word.starts_with('-')) {
        negative = true;
        word.remove_prefix(1);
    }
    unsigned base = 10;
    if (word.size() > 2 && word[0] == '0' && (word[1] == 'x' || word[1] == 'X')) {
        base = 16;
        word.remove_prefix(2);
    }
    if (word.empty()) {
        return std::nullopt;
    }
    constexpr auto kLimit = static_cast<unsigned long long>(std::numeric_limits<long long>::max());
    unsigned long long value = 0;
    for (const char c : word) {
        const int d = hexDigit(c);
        if (d < 0 || static_cast<unsigned>(d) >= base) {
            return std::nullopt;
        }
        if (value > (kLimit - static_cast<unsigned>(d)) / base) {
            return std::nullopt;
        }
        value = value * base + static_cast<unsigned>(d);
    }
    const auto magnitude = static_cast<long long>(value);
    return negative ? -magnitude : magnitude;
}

std::optional<bool> parseBoolean(std::string_view word) {
    if (word == "true") {
        return true;
    }
    if (word == "false") {
        return false;
    }
    return std::nullopt;
}

}  // namespace kazunavi::scenario
