#include "platform/common/ini_document.h"

#include <algorithm>
#include <iterator>

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

IniDocument::Index& IniDocument::index() const {
    if (index_.valid) {
        return index_;
    }
    index_ = Index();
    // The section a line belongs to, when it is the first of its name: keys
    // in a repeated one are not read. The keys before the first header make
    // the section with an empty name, when there are any; a header "[]" is
    // that section otherwise.
    Section* current = nullptr;
    bool beforeFirstHeader = true;
    std::string_view currentName;
    for (Place line = lines_.begin(); line != lines_.end(); ++line) {
        if (line->kind == LineKind::kSection) {
            beforeFirstHeader = false;
            const auto [found, first] = index_.sections.try_emplace(line->foldedName);
            current = first ? &found->second : nullptr;
            currentName = line->foldedName;
            if (first) {
                current->header = line;
            }
        } else if (line->kind == LineKind::kKey) {
            if (beforeFirstHeader && current == nullptr) {
                current = &index_.sections[""];
            }
            if (current != nullptr) {
                current->lastKey = line;
                index_.keys.try_emplace(std::make_pair(std::string(currentName), line->foldedName),
                                        line);
            }
        }
    }
    index_.valid = true;
    return index_;
}

std::optional<std::string_view> IniDocument::value(std::string_view section,
                                                   std::string_view key) const {
    const Index& found = index();
    const auto place =
        found.keys.find(std::make_pair(fold(trimBlanks(section)), fold(trimBlanks(key))));
    if (place == found.keys.end() || !place->second->hasValue) {
        return std::nullopt;
    }
    const Line& line = *place->second;
    return withoutEnclosingQuotes(
        std::string_view(line.text).substr(line.valueBegin, line.valueLength));
}

IniDocument::Place IniDocument::insertLine(Place before, std::string text) {
    // Only a last line can lack its line break; it gets one when a line follows.
    if (before != lines_.begin() && std::prev(before)->ending.empty()) {
        std::prev(before)->ending = kLineBreak;
    }
    return lines_.insert(before, makeLine(std::move(text), std::string(kLineBreak)));
}

// A name holding ']' or starting with ';' can make a line of another kind
// or name than the one asked for; the index is then built anew.
void IniDocument::keepIndexIf(const Line& line, LineKind kind, std::string_view foldedName) {
    if (line.kind != kind || line.foldedName != foldedName) {
        index_.valid = false;
    }
}

void IniDocument::set(std::string_view section, std::string_view key, std::string_view value) {
    section = trimBlanks(beforeLineBreak(section));
    key = trimBlanks(beforeLineBreak(key));
    value = beforeLineBreak(value);
    std::string keyLine(key);
    keyLine += '=';
    keyLine += value;

    Index& places = index();
    std::string foldedSection = fold(section);
    std::string foldedKey = fold(key);
    if (const auto found = places.keys.find(std::make_pair(foldedSection, foldedKey));
        found != places.keys.end()) {
        Line& line = *found->second;
        std::string replaced = line.text.substr(line.nameBegin, line.nameLength);
        replaced += "=";
        replaced += value;
        line = makeLine(std::move(replaced), std::string(kLineBreak));
        keepIndexIf(line, LineKind::kKey, foldedKey);
        return;
    }
    auto [entry, isNew] = places.sections.try_emplace(foldedSection);
    Section& place = entry->second;
    if (isNew) {
        std::string headerLine = "[";
        headerLine += section;
        headerLine += ']';
        place.header = insertLine(lines_.end(), std::move(headerLine));
        keepIndexIf(**place.header, LineKind::kSection, foldedSection);
    }
    // Right after the section's last key, before the comments and blank
    // lines that follow it.
    const Place after = place.lastKey ? *place.lastKey : *place.header;
    place.lastKey = insertLine(std::next(after), std::move(keyLine));
    keepIndexIf(**place.lastKey, LineKind::kKey, foldedKey);
    places.keys.emplace(std::make_pair(std::move(foldedSection), std::move(foldedKey)),
                        *place.lastKey);
}

bool IniDocument::removeSection(std::string_view section) {
    const Index& places = index();
    const auto found = places.sections.find(fold(beforeLineBreak(section)));
    if (found == places.sections.end()) {
        return false;
    }
    // From the header (or the first line) to the next header: the header and
    // the keys go, comments and blank lines stay.
    const std::optional<Place> header = found->second.header;
    Place line = header ? lines_.erase(*header) : lines_.begin();
    while (line != lines_.end() && line->kind != LineKind::kSection) {
        line = line->kind == LineKind::kKey ? lines_.erase(line) : std::next(line);
    }
    index_.valid = false;
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
