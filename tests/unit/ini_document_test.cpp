// The INI document: read and written as the Windows profile functions do.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <string_view>
#include <tuple>

#include "platform/common/ini_document.h"

namespace kazunavi {
namespace {

using namespace std::literals;

// The values of "section/key|section/key|...", "-" for none.
std::string valuesOf(const IniDocument& document, std::string_view asked) {
    std::string values;
    for (std::size_t start = 0, end = 0; start < asked.size(); start = end + 1) {
        end = std::min(asked.find('|', start), asked.size());
        const std::string_view one = asked.substr(start, end - start);
        const std::size_t slash = one.find('/');
        values += document.value(one.substr(0, slash), one.substr(slash + 1)).value_or("-");
        values += "|";
    }
    return values;
}

// ゾ is 83 5D (its second byte looks like ']'), ア 83 41 ('A'), ヂ 83 61 ('a'). Keys
// before the first header are the section "", a line without '=' hides a later
// key, a header without ']' is no header, names end at a NUL.
TEST(IniDocument, ReadsAsTheWindowsProfileFunctionsDo) {
    const IniDocument d = IniDocument::parse(
        "top=1\r\n[ \tSec \v]  \r\n \t Key \t=  \t in  ner \v\t \r\nk=first\r\nK=second\r\n"
        "dq=  \"  sp  \"  "
        "\r\nsq='x'\nnest=\"'i'\"\rtwice=\"\"x\"\"\r\nmixed=\"x'\r\nlone=\"\r\n"
        "e=\"\"\r\nin=a\"b\"c\r\n;c=1\r\n \t;d=1\r\nbare\r\nse;mi\0x=2\r\nv=\f;no\r\nbare=8\r\n"
        "#h=3\r\n[open   \r\na=1\r\n[closed]tail=x\r\nb=2\r\n[sc]tion]\r\nc=3\r\n[]\r\nd=4\r\n"
        "[\x83\x5D]\r\n\x83\x41=5\r\n[sc]\r\nlater=6\r\nc=7"sv);
    EXPECT_EQ(valuesOf(d,
                       " \t/top|sec/key|  SEC /\tKEY\t |\tSec/Key|Sec/k|Sec/dq|Sec/sq|Sec/nest|"
                       "Sec/twice|Sec/mixed|Sec/lone|Sec/e|Sec/in|Sec/;c|Sec/c|Sec/;d|Sec/bare|"
                       "Sec/se;mi|Sec/v|Sec/#h|open/a|Sec/a|closed/b|closed/tail|sc/c|sc/later|/d|"
                       "\x83\x5D/\x83\x41|\x83\x61/\x83\x41|\x83\x5D/\x83\x61"),
              "1|in  ner|in  ner|in  ner|first|  sp  |x|'i'|\"x\"|\"x'|\"||a\"b\"c|-|-|-|-|2|;no|3|"
              "-|1|2|-|3|-|-|5|-|-|");
    // In a UTF-8 file the same bytes are no double-byte characters; without
    // keys before it, "[]" is the section "".
    EXPECT_EQ(valuesOf(IniDocument::parse("[]\r\nk=0\r\n[\x83]x]\r\nk=1", IniCharset::kUtf8),
                       "/k|\x83/k"),
              "0|1|");
}

// A new key goes after the last key of the first section of its name.
TEST(IniDocument, WritesKeysInPlaceAndNewOnesAfterTheLastKeyOfTheirSection) {
    const std::pair<std::string_view, std::string_view> cases[] = {
        {"[S]\r\na=1\r\nKey = old \r\nkey=3", "[S]\r\na=1\r\nKey= v \r\nkey=3"},
        {"[s]\r\n;1\r\nx=1\r\n;2\r\ny=2\r\n\r\n;3\r\n[t]\r\n",
         "[s]\r\n;1\r\nx=1\r\n;2\r\ny=2\r\nKEY= v \r\n\r\n;3\r\n[t]\r\n"},
        {"[s]\r\n;c\r\n[t]\r\n", "[s]\r\nKEY= v \r\n;c\r\n[t]\r\n"},
        {"[s]\r\n[s]\r\nw=0\r\n", "[s]\r\nKEY= v \r\n[s]\r\nw=0\r\n"},
        {"[a]\nx=1", "[a]\nx=1\r\n[s]\r\nKEY= v \r\n"},
        {"[s]", "[s]\r\nKEY= v \r\n"},
        {"[s]\r\n\tKey =old", "[s]\r\nKey= v \r\n"},
        {"[s]\r\nkey\r\nKEY=2", "[s]\r\nkey= v \r\nKEY=2"}};
    for (const auto& [text, expected] : cases) {
        IniDocument document = IniDocument::parse(text);
        document.set("\ts ", " \tKEY ", " v ");
        EXPECT_EQ(document.serialize(), expected) << text;
    }
    // Names and values end at their first line break: no text makes lines of its own.
    IniDocument d;
    d.set("KeepURL", "Name0", "title\r\n[KeepCount]\r\nCount=9999");
    d.set("Keep\nURL", "URL0\r=x", "http://a/\rb");
    EXPECT_EQ(d.serialize(), "[KeepURL]\r\nName0=title\r\n[Keep]\r\nURL0=http://a/\r\n");
    // Only the first section of the name goes; reads between changes see each.
    // Keys before the first header take the new keys of the section "".
    d = IniDocument::parse("p=\r\n[A]\r\nx=1\r\n;n\r\n[B]\r\ny=2\r\n[a]\r\nz=3\r\n");
    d.set("A", "w", "4");
    d.set(" ", "q", "5");
    EXPECT_EQ(valuesOf(d, "A/z|B/y"), "-|2|");
    EXPECT_TRUE(!d.removeSection(" a ") && d.removeSection("a"));
    EXPECT_EQ(valuesOf(d, "A/z|B/y"), "3|2|");
    EXPECT_EQ(d.serialize(), "p=\r\nq=5\r\n;n\r\n[B]\r\ny=2\r\n[a]\r\nz=3\r\n");
    // Names that make a line of another kind or name (a header, a comment)
    // are read back as the file reads, by later writes too.
    d = IniDocument::parse("[s]\r\na=1\r\n[k=0\r\n");
    for (const auto& [section, key, value] : {std::tuple{"s", "[k", "]"},
                                              {"s", "b", "2"},
                                              {"s", "[k", "3"},
                                              {"k=", "x", "4"},
                                              {"a]b", "c", "5"},
                                              {"A", "d", "6"},
                                              {"s", ";e", "7"},
                                              {"s", "f", "8"}}) {
        d.set(section, key, value);
    }
    EXPECT_EQ(d.serialize(),
              "[s]\r\na=1\r\nb=2\r\n[k=3\r\nf=8\r\n;e=7\r\n[k=]\r\nx=4\r\n[a]b]\r\nc=5\r\nd=6\r\n");
}

}  // namespace
}  // namespace kazunavi
