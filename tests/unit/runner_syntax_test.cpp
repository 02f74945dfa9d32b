// The scenario runner's reading of scenario files.

#include <gtest/gtest.h>

#include "runner/scenario_syntax.h"

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

TEST(ScenarioSyntax, BadStringsAndUnclosedBlocksAreReportedAtTheirLine) {
    EXPECT_EQ(syntaxErrorLine("start\nclipboard \"open") +
                  syntaxErrorLine("start\n\nclipboard \"\\q\"") +
                  syntaxErrorLine("start\nfile \"a\" <<\nline\n"),
              7);
    for (const char* bad : {"clipboard \"\\u12G4\"", "clipboard \"ends in \\", "clipboard \"a\"b",
                            "clipboard a\"b\"", "clipboard \"\xFF\""}) {
        EXPECT_EQ(syntaxErrorLine(bad), 1) << bad;  // the last is not UTF-8
    }
}

// A byte order mark is not part of the first word, nor the CR of a CR LF line
// part of the last; comment lines keep the line numbers; a # inside a line is
// a word; each escape is one UTF-16 code unit.
TEST(ScenarioSyntax, LinesWordsAndEscapes) {
    const Script s = parseScript("\xEF\xBB\xBF# heading\n\n  # indented\nstart\r\nexpect x #2\n");
    ASSERT_EQ(s.commands.size(), 2u);
    EXPECT_EQ(s.commands[0].line * 10 + s.commands[1].line, 45);
    EXPECT_EQ(s.commands[0].tokens[0].word, "start");
    ASSERT_EQ(s.commands[1].tokens.size(), 3u);
    EXPECT_EQ(s.commands[1].tokens[2].word, "#2");
    const Script e = parseScript(R"(set x "\"\\\r\n\t\u3042a" "\uD83D\uDE00" "" "😀")");
    ASSERT_EQ(e.commands[0].tokens.size(), 6u);
    EXPECT_EQ(e.commands[0].tokens[2].text, u"\"\\\r\n\t\u3042a");
    EXPECT_EQ(e.commands[0].tokens[3].text, u"\xD83D\xDE00");
    EXPECT_TRUE(e.commands[0].tokens[4].quoted && e.commands[0].tokens[4].text.empty());
    EXPECT_EQ(e.commands[0].tokens[5].text, e.commands[0].tokens[3].text);
}

// Comment lines, escapes and blank lines inside a block are content; only a
// bare << at the end of a line opens one.
TEST(ScenarioSyntax, BlockEndsAtALineHoldingOnlyTheCloser) {
    const Script s =
        parseScript("file \"a\" <<\n>> not the end\n# not a comment\n\\n\n\n  >>  \nstart\n");
    ASSERT_EQ(s.commands.size(), 2u);
    EXPECT_EQ(s.commands[0].tokens.size(), 2u);  // the << is not a word of the command
    EXPECT_EQ(*s.commands[0].block,
              (std::vector<std::string>{">> not the end", "# not a comment", "\\n", ""}));
    EXPECT_EQ(s.commands[1].line, 7);
    EXPECT_FALSE(s.commands[1].block || parseScript("clipboard \"<<\"\n").commands[0].block ||
                 parseScript("clipboard x<<\n").commands[0].block);
}

TEST(ScenarioSyntax, NumbersAndBooleans) {
    EXPECT_EQ(*parseInteger("-7") + *parseInteger("0x0000FF") + *parseInteger("0XfF") +
                  *parseInteger("0xFFFFFFFF"),
              4294967295LL + 255 + 255 - 7);
    for (const char* bad : {"9223372036854775808", "", "0x", "12a", "+1", "1.5"}) {
        EXPECT_EQ(parseInteger(bad), std::nullopt) << bad;
    }
    EXPECT_TRUE(*parseBoolean("true") && !*parseBoolean("false"));
    EXPECT_FALSE(parseBoolean("True") || parseBoolean("1"));
}

}  // namespace
}  // namespace kazunavi::scenario
