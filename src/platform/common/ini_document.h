#pragma once

// The text of an INI file as the Windows profile functions see it: lines,
// sections and keys. It works on the file's own bytes, and every line it does
// not change is kept byte for byte, line break included.

#include <cstddef>
#include <list>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace kazunavi {

// How the bytes are stepped through. In code page 932 the second byte of a
// double-byte character can look like an ASCII letter or a bracket; in UTF-8
// every byte below 0x80 is a character of its own.
enum class IniCharset { kCp932, kUtf8 };

class IniDocument {
  public:
    explicit IniDocument(IniCharset charset = IniCharset::kCp932) : charset_(charset) {}

    // Lines end at CR LF, LF or a lone CR.
    static IniDocument parse(std::string_view text, IniCharset charset = IniCharset::kCp932);

    IniCharset charset() const { return charset_; }

    // The value of the first such key in the first section of that name, as
    // the profile read gives it: without the blanks around it and without one
    // pair of enclosing quotation marks; none for a key line without '='.
    // Names match without regard to ASCII letter case and end at their first
    // NUL; blanks around the names asked for do not count. Keys before the
    // first section header are in a section with an empty name; comment lines
    // (first non-blank character ';') hold no keys, and a line that opens a
    // section header without closing it is a key line.
    std::optional<std::string_view> value(std::string_view section, std::string_view key) const;

    // Sets a key. An existing key keeps its place and its spelling; a new key
    // goes right after the last key of its section (before the comments and
    // blank lines that follow it); a new section goes to the end. Names and
    // value end at their first line break, so that no text can make lines of
    // its own; blanks around the names are dropped. A key line without '='
    // gets the value.
    void set(std::string_view section, std::string_view key, std::string_view value);

    // Removes the header and the keys of the first section of that name,
    // which is matched as it is given, blanks and all; comments and blank
    // lines in it stay. False when there is no such section.
    bool removeSection(std::string_view section);

    std::string serialize() const;

  private:
    enum class LineKind { kNothing, kSection, kKey };
    struct Line {
        std::string text;    // without its line break
        std::string ending;  // "\r\n", "\n", "\r", or empty on a last line only
        LineKind kind = LineKind::kNothing;
        std::string foldedName;     // section and key lines
        std::size_t nameBegin = 0;  // key lines: the name as written
        std::size_t nameLength = 0;
        bool hasValue = false;       // key lines with '='
        std::size_t valueBegin = 0;  // the value without blanks around it
        std::size_t valueLength = 0;
    };
    // A list, so that a line added in the middle moves no other line and
    // leaves every place in the index where it was.
    using Lines = std::list<Line>;
    using Place = Lines::iterator;
    // Where a section's keys are read and a new key goes. The keys before the
    // first header are a section without a header.
    struct Section {
        std::optional<Place> header;
        std::optional<Place> lastKey;
    };
    // The readable sections and keys: the first section of each name and the
    // first key of each name in it. Built at the first use after a parse, a
    // copy or a removal, and kept up to date by set(): a save of many keys
    // costs a lookup a key instead of a scan of the file.
    struct Index {
        Index() = default;
        // Places belong to the lines they were taken from: a copy starts
        // without any.
        Index(const Index&) {}
        Index& operator=(const Index&) {
            *this = Index();
            return *this;
        }
        Index(Index&&) = default;
        Index& operator=(Index&&) = default;

        bool valid = false;
        std::map<std::string, Section, std::less<>> sections;
        std::map<std::pair<std::string, std::string>, Place> keys;
    };

    Line makeLine(std::string text, std::string ending) const;
    std::string fold(std::string_view name) const;
    Index& index() const;
    Place insertLine(Place before, std::string text);
    void keepIndexIf(const Line& line, LineKind kind, std::string_view foldedName);

    IniCharset charset_;
    // Mutable for the index's places: reads build the index, never change a line.
    mutable Lines lines_;
    mutable Index index_;
};

// A value as the profile read gives it: without one pair of enclosing
// quotation marks.
std::string_view withoutEnclosingQuotes(std::string_view value);

}  // namespace kazunavi
