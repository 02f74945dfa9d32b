#include "platform/common/ini_document.h"

#include <algorithm>

#include "platform/common/cp932.h"

namespace kazunavi {

namespace {

constexpr std::string_view kLineBreak = "\r\n";

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\v';
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

// Names given to the profile functions lose their spaces (only spaces) at
// both ends.
std::string_view trimSpaces(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::string_view beforeLineBreak(std::string_view text) {
    return text.substr(0, std::min(text.find_first_of("\r\n"), text.size()));
}

std::string_view withoutEnclosingQuotes(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

}  // namespace

IniDocument IniDocument::parse(std::string_view text, IniCharset charset) {
    IniDocument document(charset);
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t breakAt = std::min(text.find_first_of("\r\n", start), text.size());
        std::size_t next = breakAt;
        if (next < text.size()) {
            next +=
                (text[next] == '\r' && next + 1 < text.size() && text[next + 1] == '\n') ? 2 : 1;
        }
        document.lines_.push_back(
            document.makeLine(std::string(text.substr(start, breakAt - start)),
                              std::string(text.substr(breakAt, next - breakAt))));
        start = next;
    }
    return document;
}

IniDocument::Line IniDocument::makeLine(std::string text, std::string ending) const {
    Line line;
    line.text = std::move(text);
    line.ending = std::move(ending);
    const std::string_view content = trimBlanks(line.text);
    if (content.empty()) {
        line.kind = LineKind::kBlank;
    } else if (content.front() == '[') {
        // The name ends at the first ']' (not the second byte of a double-byte
        // character) or at the end of the line; text after the ']' is ignored.
        std::size_t end = 1;
        while (end < content.size() && content[end] != ']') {
            const bool doubleByte = charset_ == IniCharset::kCp932 &&
                                    isCp932LeadByte(static_cast<unsigned char>(content[end]));
            end += doubleByte ? 2 : 1;
        }
        line.kind = LineKind::kSection;
        line.foldedName = fold(trimBlanks(content.substr(1, std::min(end, content.size()) - 1)));
    } else if (content.front() == ';') {
        line.kind = LineKind::kComment;
    } else if (const auto equals = content.find('='); equals != std::string_view::npos) {
        // '=' is never the second byte of a double-byte character.
        const std::string_view name = trimBlanks(content.substr(0, equals));
        const std::string_view value = trimBlanks(content.substr(equals + 1));
        line.kind = LineKind::kKey;
        line.foldedName = fold(name);
        line.nameBegin = static_cast<std::size_t>(name.data() - line.text.data());
        line.nameLength = name.size();
        line.valueBegin = static_cast<std::size_t>(value.data() - line.text.data());
        line.valueLength = value.size();
    } else {
        line.kind = LineKind::kOther;
    }
    return line;
}

std::string IniDocument::fold(std::string_view name) const {
    std::string folded(name);
    for (std::size_t i = 0; i < folded.size(); ++i) {
        const auto byte = static_cast<unsigned char>(folded[i]);
        if (charset_ == IniCharset::kCp932 && isCp932LeadByte(byte)) {
            ++i;  // the second byte is not a letter of its own
        } else if (byte >= 'A' && byte <= 'Z') {
            folded[i] = static_cast<char>(byte - 'A' + 'a');
        }
    }
    return folded;
}

std::optional<std::size_t> IniDocument::findSection(std::string_view section) const {
    const std::string folded = fold(trimSpaces(section));
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        if (lines_[i].kind == LineKind::kSection && lines_[i].foldedName == folded) {
            return i;
        }
    }
    return std::nullopt;
}

std::size_t IniDocument::sectionEnd(std::size_t header) const {
    std::size_t end = header + 1;
    while (end < lines_.size() && lines_[end].kind != LineKind::kSection) {
        ++end;
    }
    return end;
}

void IniDocument::buildKeyIndex() const {
    keyIndex_.clear();
    std::map<std::string, bool, std::less<>> sectionsSeen;
    const std::string* current =
        nullptr;  // keys before any section, or in a repeated one, are not read
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        const Line& line = lines_[i];
        if (line.kind == LineKind::kSection) {
            const bool first = sectionsSeen.emplace(line.foldedName, true).second;
            current = first ? &line.foldedName : nullptr;
        } else if (line.kind == LineKind::kKey && current != nullptr) {
            keyIndex_.emplace(std::make_pair(*current, line.foldedName), i);
        }
    }
    keyIndexValid_ = true;
}

std::optional<std::string_view> IniDocument::value(std::string_view section,
                                                   std::string_view key) const {
    if (!keyIndexValid_) {
        buildKeyIndex();
    }
    const auto found =
        keyIndex_.find(std::make_pair(fold(trimSpaces(section)), fold(trimSpaces(key))));
    if (found == keyIndex_.end()) {
        return std::nullopt;
    }
    const Line& line = lines_[found->second];
    return withoutEnclosingQuotes(
        std::string_view(line.text).substr(line.valueBegin, line.valueLength));
}

void IniDocument::insertLine(std::size_t at, std::string text) {
    keyIndexValid_ = false;
    // Only a last line can lack its line break; it gets one when a line follows.
    if (at > 0 && lines_[at - 1].ending.empty()) {
        lines_[at - 1].ending = kLineBreak;
    }
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at),
                  makeLine(std::move(text), std::string(kLineBreak)));
}

void IniDocument::set(std::string_view section, std::string_view key, std::string_view value) {
    section = trimSpaces(beforeLineBreak(section));
    key = trimSpaces(beforeLineBreak(key));
    value = beforeLineBreak(value);
    std::string keyLine(key);
    keyLine += '=';
    keyLine += value;

    const auto header = findSection(section);
    if (!header) {
        std::string headerLine = "[";
        headerLine += section;
        headerLine += ']';
        insertLine(lines_.size(), std::move(headerLine));
        insertLine(lines_.size(), keyLine);
        return;
    }
    const std::string folded = fold(key);
    const std::size_t end = sectionEnd(*header);
    std::size_t lastKey = *header;
    for (std::size_t i = *header + 1; i < end; ++i) {
        Line& line = lines_[i];
        if (line.kind != LineKind::kKey) {
            continue;
        }
        if (line.foldedName == folded) {
            std::string replaced = line.text.substr(line.nameBegin, line.nameLength);
            replaced += "=";
            replaced += value;
            line = makeLine(std::move(replaced), std::string(kLineBreak));
            return;
        }
        lastKey = i;
    }
    insertLine(lastKey + 1, keyLine);
}

bool IniDocument::removeSection(std::string_view section) {
    const auto header = findSection(trimSpaces(beforeLineBreak(section)));
    if (!header) {
        return false;
    }
    const std::size_t end = sectionEnd(*header);
    std::vector<Line> kept;
    kept.reserve(lines_.size());
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        const bool removed =
            i == *header || (i > *header && i < end && lines_[i].kind == LineKind::kKey);
        if (!removed) {
            kept.push_back(std::move(lines_[i]));
        }
    }
    lines_ = std::move(kept);
    keyIndexValid_ = false;
    return true;
}

std::string IniDocument::serialize() const {
    std::size_t size = 0;
    for (const Line& line : lines_) {
        size += line.text.size() + line.ending.size();
    }
    std::string text;
    text.reserve(size);
    for (const Line& line : lines_) {
        text += line.text;
        text += line.ending;
    }
    return text;
}

}  // namespace kazunavi
