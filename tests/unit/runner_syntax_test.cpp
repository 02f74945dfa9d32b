// The scenario runner's reading of scenario files and its quoting of texts.

#include <gtest/gtest.h>

#include "runner/scenario_syntax.h"
#include "runner/value_text.h"

namespace kazunavi::scenario {
namespace {

int syntaxErrorLine(std::string_view source) {
    try {
        parseScript(source);
    } catch (const SyntaxError& e) {
        return e.line();
    }
    return 0;
}

TEST(ScenarioSyntax, BadStringsAreReportedAtTheirLine) {
    EXPECT_EQ(
        syntaxErrorLine("start\nclipboard \"open") + syntaxErrorLine("start\n\nclipboard \"\\q\""),
        5);
    for (const char* bad :
         {"clipboard \"\\u12\"", "clipboard \"\\u12G4\"", "clipboard \"ends in \\",
          "clipboard \"a\"b", "clipboard a\"b\"", "clipboard \"\xFF\""}) {
        EXPECT_EQ(syntaxErrorLine(bad), 1) << bad;  // the last is not UTF-8
    }
}

TEST(ScenarioSyntax, LinesAndWords) {
    // A byte order mark is not part of the first word, nor the CR of a CR LF
    // line part of the last; comment lines keep the line numbers.
    const Script s = parseScript("\xEF\xBB\xBF# heading\n\n  # indented\nstart\r\nexpect x #2\n");
    ASSERT_EQ(s.commands.size(), 2u);
    EXPECT_EQ(s.commands[0].line, 4);
    EXPECT_EQ(s.commands[0].tokens[0].word, "start");
    EXPECT_EQ(s.commands[1].line, 5);
    EXPECT_EQ(s.lastLine, 5);
    // A # inside a line is a word.
    ASSERT_EQ(s.commands[1].tokens.size(), 3u);
    EXPECT_EQ(s.commands[1].tokens[2].word, "#2");
    EXPECT_EQ(parseScript("\xEF\xBB\xBFstart\n").commands[0].tokens[0].word, "start");
}

TEST(ScenarioSyntax, EachEscapeIsOneUtf16CodeUnit) {
    const Script s = parseScript(R"(set x "\"\\\r\n\t\u3042a" "\uD83D\uDE00" "" "😀")");
    ASSERT_EQ(s.commands[0].tokens.size(), 6u);
    EXPECT_EQ(s.commands[0].tokens[2].text, u"\"\\\r\n\t\u3042a");
    EXPECT_EQ(s.commands[0].tokens[3].text, u"\xD83D\xDE00");
    EXPECT_TRUE(s.commands[0].tokens[4].quoted);
    EXPECT_EQ(s.commands[0].tokens[4].text, u"");
    EXPECT_EQ(s.commands[0].tokens[5].text, s.commands[0].tokens[3].text);
}

TEST(ScenarioSyntax, BlockEndsAtALineHoldingOnlyTheCloser) {
    // Comment lines, escapes and blank lines inside a block are content.
    const Script s =
        parseScript("file \"a\" <<\n>> not the end\n# not a comment\n\\n\n\n  >>  \nstart\n");
    ASSERT_EQ(s.commands.size(), 2u);
    EXPECT_EQ(s.commands[0].tokens.size(), 2u);  // the << is not a word of the command
    EXPECT_EQ(*s.commands[0].block,
              (std::vector<std::string>{">> not the end", "# not a comment", "\\n", ""}));
    EXPECT_EQ(s.commands[1].line, 7);
    EXPECT_FALSE(s.commands[1].block.has_value());
}

TEST(ScenarioSyntax, OnlyABareTrailingOpenerOpensABlock) {
    EXPECT_FALSE(parseScript("clipboard \"<<\"\n").commands[0].block ||
                 parseScript("clipboard x<<\n").commands[0].block);
    EXPECT_EQ(syntaxErrorLine("start\nfile \"a\" <<\nline\n"), 2);  // never closed
}

TEST(ScenarioSyntax, NumbersAndBooleans) {
    EXPECT_EQ(*parseInteger("0") + *parseInteger("-7") + *parseInteger("0x0000FF") +
                  *parseInteger("0XfF") + *parseInteger("-0x10") + *parseInteger("0xFFFFFFFF"),
              4294967295LL + 255 + 255 - 16 - 7);
    EXPECT_EQ(parseInteger("9223372036854775807"), 9223372036854775807LL);
    for (const char* bad : {"9223372036854775808", "", "-", "0x", "12a", "0x1G", "+1", "1.5"}) {
        EXPECT_EQ(parseInteger(bad), std::nullopt) << bad;
    }
    EXPECT_TRUE(*parseBoolean("true") && !*parseBoolean("false"));
    EXPECT_FALSE(parseBoolean("True") || parseBoolean("1"));
}

TEST(ScenarioQuoting, EscapesWhatWouldNotShow) {
    EXPECT_EQ(quoteText(u"plain"), "\"plain\"");
    EXPECT_EQ(quoteText(u"a\"b\\c\r\n\t"), R"("a\"b\\c\r\n\t")");
    // The ideographic space and other look-alike blanks are made visible.
    EXPECT_EQ(quoteText(u"Kazunavi\u3000Error_08"), R"("Kazunavi\u3000Error_08")");
    EXPECT_EQ(quoteText(u"\x01\x7F\u00A0"), R"("\u0001\u007F\u00A0")");
    // Japanese text and surrogate pairs stay readable; lone surrogates do not.
    EXPECT_EQ(quoteText(u"待機中\xD83D\xDE00"), "\"待機中\xF0\x9F\x98\x80\"");
    EXPECT_EQ(quoteText(u"\xD83D!"), R"("\uD83D!")");
}

TEST(ScenarioQuoting, HexNumbers) {
    EXPECT_EQ(hexNumber(255, 6) + hexNumber(0x1000, 1) + hexNumber(0, 1) + hexNumber(0xFFFFFFFF, 6),
              "0x0000FF0x10000x00xFFFFFFFF");
}

}  // namespace
}  // namespace kazunavi::scenario
