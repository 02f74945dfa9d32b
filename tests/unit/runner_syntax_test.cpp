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

TEST(ScenarioSyntax, StringEscapesGiveOneCodeUnitEach) {
    const Script s = parseScript(R"(set x "a\"b\\c\r\n\t\u3042\uD83D\uDE00é")");
    ASSERT_EQ(s.commands.size(), 1u);
    const auto& tokens = s.commands[0].tokens;
    ASSERT_EQ(tokens.size(), 3u);
    EXPECT_FALSE(tokens[1].quoted);
    EXPECT_EQ(tokens[1].word, "x");
    EXPECT_TRUE(tokens[2].quoted);
    EXPECT_EQ(tokens[2].text, u"a\"b\\c\r\n\t\u3042\xD83D\xDE00\u00E9");
}

TEST(ScenarioSyntax, EmptyStringAndBlanksInsideStrings) {
    const Script s = parseScript("clipboard \"\"\nwindow 1 \"  two  blanks \"\n");
    ASSERT_EQ(s.commands.size(), 2u);
    EXPECT_TRUE(s.commands[0].tokens[1].quoted);
    EXPECT_EQ(s.commands[0].tokens[1].text, u"");
    EXPECT_EQ(s.commands[1].tokens[2].text, u"  two  blanks ");
}

TEST(ScenarioSyntax, BadStringsAreReportedAtTheirLine) {
    EXPECT_EQ(syntaxErrorLine("start\nclipboard \"open"), 2);
    EXPECT_EQ(syntaxErrorLine("start\n\nclipboard \"\\q\""), 3);
    EXPECT_EQ(syntaxErrorLine("clipboard \"\\u12\""), 1);
    EXPECT_EQ(syntaxErrorLine("clipboard \"\\u12G4\""), 1);
    EXPECT_EQ(syntaxErrorLine("clipboard \"ends in \\"), 1);
    EXPECT_EQ(syntaxErrorLine("clipboard \"a\"b"), 1);
    EXPECT_EQ(syntaxErrorLine("clipboard a\"b\""), 1);
    EXPECT_EQ(syntaxErrorLine("start\nclipboard \"\xFF\""), 2);  // not UTF-8
}

TEST(ScenarioSyntax, CommentsAndBlankLinesKeepLineNumbers) {
    const Script s =
        parseScript("# heading\n\n   \t\n  # indented\nstart\r\n\texpect   running  \n");
    ASSERT_EQ(s.commands.size(), 2u);
    EXPECT_EQ(s.commands[0].line, 5);
    EXPECT_EQ(s.commands[0].tokens[0].word, "start");  // CR of a CR LF line is not part of it
    EXPECT_EQ(s.commands[1].line, 6);
    ASSERT_EQ(s.commands[1].tokens.size(), 2u);
    EXPECT_EQ(s.commands[1].tokens[1].word, "running");
    EXPECT_EQ(s.lastLine, 6);
}

TEST(ScenarioSyntax, HashInsideALineIsAWord) {
    const Script s = parseScript("expect txtNow.Text \"#1\" #2");
    ASSERT_EQ(s.commands[0].tokens.size(), 4u);
    EXPECT_EQ(s.commands[0].tokens[2].text, u"#1");
    EXPECT_EQ(s.commands[0].tokens[3].word, "#2");
}

TEST(ScenarioSyntax, BlocksAreTakenLiterally) {
    const Script s =
        parseScript("file \"a.txt\" <<\n# not a comment\n\n  \\n \"q\"  \n>>\nstart\n");
    ASSERT_EQ(s.commands.size(), 2u);
    const CommandLine& file = s.commands[0];
    ASSERT_EQ(file.tokens.size(), 2u);  // the << is not a word of the command
    ASSERT_TRUE(file.block.has_value());
    EXPECT_EQ(*file.block, (std::vector<std::string>{"# not a comment", "", "  \\n \"q\"  "}));
    EXPECT_EQ(s.commands[1].line, 6);
    EXPECT_FALSE(s.commands[1].block.has_value());
}

TEST(ScenarioSyntax, BlockEndsAtALineHoldingOnlyTheCloser) {
    const Script s = parseScript("file \"a\" <<\n>> not the end\n  >>  \nstart\n");
    ASSERT_EQ(s.commands.size(), 2u);
    EXPECT_EQ(*s.commands[0].block, std::vector<std::string>{">> not the end"});
    const Script empty = parseScript("file \"a\" <<\n>>\n");
    EXPECT_TRUE(empty.commands[0].block->empty());
}

TEST(ScenarioSyntax, OnlyABareTrailingOpenerOpensABlock) {
    const Script quoted = parseScript("clipboard \"<<\"\n");
    EXPECT_FALSE(quoted.commands[0].block.has_value());
    const Script glued = parseScript("clipboard x<<\n");
    EXPECT_FALSE(glued.commands[0].block.has_value());
    EXPECT_EQ(syntaxErrorLine("start\nfile \"a\" <<\nline\n"), 2);  // never closed
}

TEST(ScenarioSyntax, Integers) {
    EXPECT_EQ(parseInteger("0"), 0);
    EXPECT_EQ(parseInteger("255"), 255);
    EXPECT_EQ(parseInteger("-7"), -7);
    EXPECT_EQ(parseInteger("0x0000FF"), 255);
    EXPECT_EQ(parseInteger("0XfF"), 255);
    EXPECT_EQ(parseInteger("-0x10"), -16);
    EXPECT_EQ(parseInteger("0xFFFFFFFF"), 4294967295LL);
    EXPECT_EQ(parseInteger("9223372036854775807"), 9223372036854775807LL);
    EXPECT_EQ(parseInteger("9223372036854775808"), std::nullopt);
    EXPECT_EQ(parseInteger(""), std::nullopt);
    EXPECT_EQ(parseInteger("-"), std::nullopt);
    EXPECT_EQ(parseInteger("0x"), std::nullopt);
    EXPECT_EQ(parseInteger("12a"), std::nullopt);
    EXPECT_EQ(parseInteger("0x1G"), std::nullopt);
    EXPECT_EQ(parseInteger("+1"), std::nullopt);
    EXPECT_EQ(parseInteger("1.5"), std::nullopt);
}

TEST(ScenarioSyntax, Booleans) {
    EXPECT_EQ(parseBoolean("true"), true);
    EXPECT_EQ(parseBoolean("false"), false);
    EXPECT_EQ(parseBoolean("True"), std::nullopt);
    EXPECT_EQ(parseBoolean("1"), std::nullopt);
}

TEST(ScenarioSyntax, ByteOrderMarkIsNotPartOfTheFirstWord) {
    const Script s = parseScript("\xEF\xBB\xBFstart\n");
    EXPECT_EQ(s.commands[0].tokens[0].word, "start");
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
    EXPECT_EQ(hexNumber(255, 6), "0x0000FF");
    EXPECT_EQ(hexNumber(0x1000, 1), "0x1000");
    EXPECT_EQ(hexNumber(0, 1), "0x0");
    EXPECT_EQ(hexNumber(0xFFFFFFFF, 6), "0xFFFFFFFF");
}

}  // namespace
}  // namespace kazunavi::scenario
