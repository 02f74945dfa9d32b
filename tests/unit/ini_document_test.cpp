#include "platform/common/ini_document.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace kazunavi {
namespace {

using namespace std::string_literals;
using Value = std::optional<std::string_view>;

std::string afterSet(std::string_view text, std::string_view section, std::string_view key,
                     std::string_view value) {
    IniDocument document = IniDocument::parse(text);
    document.set(section, key, value);
    return document.serialize();
}

TEST(IniDocument, UnchangedTextIsWrittenBackByteForByte) {
    for (const std::string& text : {""s, "[a]\nk=v\n\n; c\r\n[b]\rx=1\r\r\n  odd\n"s,
                                    "no break=1\r\n[s]\r\nk=v"s, "a \0 b\r\n[s]\r\n"s}) {
        EXPECT_EQ(IniDocument::parse(text).serialize(), text);
    }
}

// ゾ is 83 5D (its second byte looks like ']'), ア 83 41 ('A'), ヂ 83 61 ('a').
TEST(IniDocument, ReadsAsTheWindowsProfileFunctionsDo) {
    const IniDocument d = IniDocument::parse(
        "top=1\r\n[ \tSec \v]  \r\n \t Key \t=  \t in  ner \v\t \r\nk=first\r\nK=second\r\n"
        "dq=  \"  sp  \"  "
        "\r\nsq='x'\nnest=\"'i'\"\rtwice=\"\"x\"\"\r\nmixed=\"x'\r\nlone=\"\r\ne=\"\"\r\n"
        "in=a\"b\"c\r\n;c=1\r\n \t;d=1\r\nbare\r\nse;mi=2\r\nv=;no comment\r\n#h=3\r\n"
        "[open   \r\na=1\r\n[closed]tail=x\r\nb=2\r\n[sc]tion]\r\nc=3\r\n[]\r\nd=4\r\n"
        "[\x83\x5D]\r\n\x83\x41=5\r\n[sc]\r\nlater=6\r\nc=7");
    const std::tuple<std::string_view, std::string_view, Value> cases[] = {
        {"", "top", {}},
        {"sec", "key", "in  ner"},
        {"  SEC ", " KEY  ", "in  ner"},
        {"\tSec", "Key", {}},
        {"Sec", "k", "first"},
        {"Sec", "dq", "  sp  "},
        {"Sec", "sq", "x"},
        {"Sec", "nest", "'i'"},
        {"Sec", "twice", "\"x\""},
        {"Sec", "mixed", "\"x'"},
        {"Sec", "lone", "\""},
        {"Sec", "in", "a\"b\"c"},
        {"Sec", ";c", {}},
        {"Sec", "c", {}},
        {"Sec", ";d", {}},
        {"Sec", "bare", {}},
        {"Sec", "se;mi", "2"},
        {"Sec", "v", ";no comment"},
        {"Sec", "#h", "3"},
        {"open", "a", "1"},
        {"closed", "b", "2"},
        {"closed", "tail", {}},
        {"sc", "c", "3"},
        {"sc", "later", {}},
        {"", "d", "4"},
        {"\x83\x5D", "\x83\x41", "5"},
        {"\x83\x61", "\x83\x41", {}},
        {"\x83\x5D", "\x83\x61", {}},
        {"Other", "k", {}},
        {"Sec", "e", ""}};
    for (const auto& [section, key, expected] : cases) {
        EXPECT_EQ(d.value(section, key), expected) << section << "/" << key;
    }
    // In a UTF-8 file the same bytes are no double-byte characters.
    EXPECT_EQ(IniDocument::parse("[\x83]x]\r\nk=1\r\n", IniCharset::kUtf8).value("\x83", "k"), "1");
}

TEST(IniDocument, WritesKeysInPlaceAndNewOnesAfterTheLastKeyOfTheirSection) {
    const std::tuple<std::string_view, std::string_view, std::string_view> cases[] = {
        // An existing key keeps its place and spelling; only the first of two.
        {"[S]\r\na=1\r\nKey = old \r\nk=2\r\nkey=3", "KEY",
         "[S]\r\na=1\r\nKey= v \r\nk=2\r\nkey=3"},
        // A replaced last line gets its line break; others keep their own.
        {"[s]\na=1\nkey=1", "key", "[s]\na=1\nkey= v \r\n"},
        // Before the comments and blank lines after the last key.
        {"[s]\r\n;1\r\nx=1\r\n;2\r\ny=2\r\n\r\n;3\r\n[t]\r\nz=1\r\n", "k",
         "[s]\r\n;1\r\nx=1\r\n;2\r\ny=2\r\nk= v \r\n\r\n;3\r\n[t]\r\nz=1\r\n"},
        {"[s]\r\n;only\r\n[t]\r\n", "k", "[s]\r\nk= v \r\n;only\r\n[t]\r\n"},
        {"[S]", "k", "[S]\r\nk= v \r\n"},
        {"[s]\r\nx=1\r\n[s]\r\nw=0\r\n", "k", "[s]\r\nx=1\r\nk= v \r\n[s]\r\nw=0\r\n"},
        // A new section goes to the end.
        {"[a]\nx=1", "k", "[a]\nx=1\r\n[s]\r\nk= v \r\n"},
        {"[a]\r\n\r\n;end\r\n", "k", "[a]\r\n\r\n;end\r\n[s]\r\nk= v \r\n"},
    };
    for (const auto& [text, key, expected] : cases) {
        EXPECT_EQ(afterSet(text, " s ", key, " v "), expected) << text;
    }
    // From nothing: in writing order, names without their spaces.
    IniDocument d;
    d.set(" KeepCount ", "  Count ", "2");
    d.set("KeepURL", "Name0", "a");
    d.set("keepcount", "count", "3");
    EXPECT_EQ(d.serialize(), "[KeepCount]\r\nCount=3\r\n[KeepURL]\r\nName0=a\r\n");
}

TEST(IniDocument, TextEndsAtItsFirstLineBreakSoItCannotMakeLinesOfItsOwn) {
    IniDocument document;
    document.set("KeepURL", "Name0", "title\r\n[KeepCount]\r\nCount=9999");
    document.set("Keep\nURL", "URL0\r=x", "http://a/\rb");
    EXPECT_EQ(document.serialize(), "[KeepURL]\r\nName0=title\r\n[Keep]\r\nURL0=http://a/\r\n");
    EXPECT_EQ(document.value("KeepCount", "Count"), std::nullopt);
}

// Only the first section of the name goes, with its header and keys; reads
// between changes see every change.
TEST(IniDocument, RemovingASectionLeavesItsOtherLinesAndLaterSections) {
    IniDocument d = IniDocument::parse(
        ";top\r\n[A]\r\nx=1\r\n;note\r\n\r\nbare\r\n[B]\r\ny=2\r\n[a]\r\nz=3\r\n");
    EXPECT_FALSE(d.value("A", "z"));
    d.set("A", "w", "4");
    EXPECT_EQ(d.value("A", "w"), "4");
    EXPECT_EQ(d.value("B", "y"), "2");
    EXPECT_TRUE(d.removeSection(" a "));
    EXPECT_EQ(d.serialize(), ";top\r\n;note\r\n\r\nbare\r\n[B]\r\ny=2\r\n[a]\r\nz=3\r\n");
    EXPECT_EQ(d.value("a", "z"), "3");
    EXPECT_FALSE(d.value("A", "x"));
    EXPECT_TRUE(d.removeSection("A"));
    EXPECT_FALSE(d.removeSection("A"));
    EXPECT_EQ(d.value("B", "y"), "2");
}

}  // namespace
}  // namespace kazunavi
