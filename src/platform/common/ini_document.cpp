#include "platform/common/ini_document.h"

#include <algorithm>
#include <set>

#include "platform/common/cp932.h"

namespace kazunavi {

namespace {

constexpr std::string_view kLineBreak = "\r\n";

// The form feed too: a value that starts with one reads without it.
bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\v' || c == '\f';
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

std::string_view beforeLineBreak(std::string_view text) {
    return text.substr(0, std::min(text.find_first_of("\r\n"), text.size()));
}

}  // namespace

std::string_view withoutEnclosingQuotes(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

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
    // Blank lines and comments hold nothing (the kind a line starts with).
    if (content.empty() || content.front() == ';') {
        return line;
    }
    if (content.front() == '[') {
        // The name ends at the first ']' (not the second byte of a double-byte
        // character); text after it is ignored.
        std::size_t end = 1;
        while (end < content.size() && content[end] != ']') {
            const bool doubleByte = charset_ == IniCharset::kCp932 &&
                                    isCp932LeadByte(static_cast<unsigned char>(content[end]));
            end += doubleByte ? 2 : 1;
        }
        if (end < content.size()) {
            line.kind = LineKind::kSection;
            line.foldedName = fold(trimBlanks(content.substr(1, end - 1)));
            return line;
        }
    }
    // '=' is never the second byte of a double-byte character.
    const auto equals = content.find('=');
    const std::string_view name = trimBlanks(content.substr(0, equals));
    line.kind = LineKind::kKey;
    line.foldedName = fold(name);
    line.nameBegin = static_cast<std::size_t>(name.data() - line.text.data());
    line.nameLength = name.size();
    line.hasValue = equals != std::string_view::npos;
    if (line.hasValue) {
        const std::string_view value = trimBlanks(content.substr(equals + 1));
        line.valueBegin = static_cast<std::size_t>(value.data() - line.text.data());
        line.valueLength = value.size();
    }
    return line;
}

// Windows compares names as C strings: a name ends at its first NUL.
std::string IniDocument::fold(std::string_view name) const {
    std::string folded(name.substr(0, std::min(name.find('\0'), name.size())));
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

std::size_t IniDocument::nextHeader(std::size_t from) const {
    while (from < lines_.size() && lines_[from].kind != LineKind::kSection) {
        ++from;
    }
    return from;
}

// The keys before the first header make the first section with an empty
// name, when there are any; a header "[]" is that section otherwise.
std::optional<IniDocument::Section> IniDocument::findSection(std::string_view foldedName) const {
    const std::size_t first = nextHeader(0);
    const auto isKey = [](const Line& line) { return line.kind == LineKind::kKey; };
    if (foldedName.empty() &&
        std::any_of(lines_.begin(), lines_.begin() + static_cast<std::ptrdiff_t>(first), isKey)) {
        return Section{std::nullopt, 0, first};
    }
    for (std::size_t i = first; i < lines_.size(); i = nextHeader(i + 1)) {
        if (lines_[i].foldedName == foldedName) {
            return Section{i, i + 1, nextHeader(i + 1)};
        }
    }
    return std::nullopt;
}

void IniDocument::buildKeyIndex() const {
    keyIndex_.clear();
    // The same sections as findSection: keys in a repeated one are not read.
    std::set<std::string, std::less<>> sectionsSeen;
    std::optional<std::string_view> current = std::string_view();
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        const Line& line = lines_[i];
        if (line.kind == LineKind::kSection) {
            const bool first = sectionsSeen.insert(line.foldedName).second;
            current = first ? std::optional<std::string_view>(line.foldedName) : std::nullopt;
        } else if (line.kind == LineKind::kKey && current) {
            sectionsSeen.emplace(*current);
            keyIndex_.emplace(std::make_pair(std::string(*current), line.foldedName), i);
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
        keyIndex_.find(std::make_pair(fold(trimBlanks(section)), fold(trimBlanks(key))));
    if (found == keyIndex_.end() || !lines_[found->second].hasValue) {
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
    section = trimBlanks(beforeLineBreak(section));
    key = trimBlanks(beforeLineBreak(key));
    value = beforeLineBreak(value);
    std::string keyLine(key);
    keyLine += '=';
    keyLine += value;

    const auto found = findSection(fold(section));
    if (!found) {
        std::string headerLine = "[";
        headerLine += section;
        headerLine += ']';
        insertLine(lines_.size(), std::move(headerLine));
        insertLine(lines_.size(), keyLine);
        return;
    }
    const std::string folded = fold(key);
    std::size_t afterLastKey = found->begin;
    for (std::size_t i = found->begin; i < found->end; ++i) {
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
        afterLastKey = i + 1;
    }
    insertLine(afterLastKey, keyLine);
}

bool IniDocument::removeSection(std::string_view section) {
    const auto found = findSection(fold(beforeLineBreak(section)));
    if (!found) {
        return false;
    }
    std::vector<Line> kept;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        const bool removed = i == found->header || (i >= found->begin && i < found->end &&
                                                    lines_[i].kind == LineKind::kKey);
        if (!removed) {
            kept.push_back(std::move(lines_[i]));
        }
    }
    lines_ = std::move(kept);
    keyIndexValid_ = false;
    return true;
}

std::string IniDocument::serialize() const {
    std::string text;
    for (const Line& line : lines_) {
        text += line.text;
        text += line.ending;
    }
    return text;
}

}  // namespace kazunavi
