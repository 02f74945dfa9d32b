#include "platform/common/cp932.h"

#include <gtest/gtest.h>

#include <string>

namespace kazunavi {
namespace {

TEST(Cp932Test, JapaneseTextHasItsCodePageBytesAndComesBackWhole) {
    const std::u16string text = u"日本語のURL、ｶﾀｶﾅ　全角";
    const std::string bytes = toCp932(text);
    // 日 93FA, 本 967B, 語 8CEA; half-width katakana are single bytes.
    EXPECT_EQ(bytes.substr(0, 6), "\x93\xFA\x96\x7B\x8C\xEA");
    EXPECT_NE(bytes.find("\xB6\xC0\xB6\xC5"), std::string::npos);
    EXPECT_EQ(bytes.find("\x81\x40"), bytes.size() - 6);  // the ideographic space
    EXPECT_EQ(fromCp932(bytes), text);
}

TEST(Cp932Test, AsciiIsTheSameInBothDirections) {
    std::u16string ascii;
    for (char16_t c = 0; c < 0x80; ++c) {
        ascii.push_back(c);
    }
    const std::string bytes = toCp932(ascii);
    ASSERT_EQ(bytes.size(), 0x80u);
    EXPECT_EQ(bytes[0x5C], '\\');  // a backslash stays one, not a yen sign
    EXPECT_EQ(bytes[0x7E], '~');
    EXPECT_EQ(fromCp932(bytes), ascii);
}

TEST(Cp932Test, EachCharacterTheCodePageCannotHoldBecomesOneQuestionMark) {
    EXPECT_EQ(toCp932(u"a\u00E9b"), "a?b");      // é
    EXPECT_EQ(toCp932(u"x\U0001F600y"), "x?y");  // a surrogate pair is one character
    EXPECT_EQ(toCp932(u"\U0001F600\U0001F600"), "??");
    EXPECT_EQ(toCp932(u"\uD55C\uAD6D"), "??");                      // Korean
    EXPECT_EQ(toCp932(std::u16string(1, u'\xD800') + u"z"), "?z");  // a lone surrogate
    EXPECT_EQ(toCp932(u"日\u00E9本"), "\x93\xFA?\x96\x7B");
}

TEST(Cp932Test, InvalidBytesDecodeToReplacementCharactersWithoutLosingTheRest) {
    EXPECT_EQ(fromCp932("a\x80z"), u"a\uFFFDz");
    EXPECT_EQ(fromCp932("ab\x82"), u"ab\uFFFD");  // a lead byte at the end
    // A lead byte before a line break: the line break survives.
    EXPECT_EQ(fromCp932("\x82\n\x93\xFA"), u"\uFFFD\n日");
    EXPECT_EQ(fromCp932(""), u"");
}

TEST(Cp932Test, LongTextsConvertCompletely) {
    std::u16string text;
    for (int i = 0; i < 200000; ++i) {
        text += (i % 3 == 0) ? u"日" : (i % 3 == 1) ? u"a" : u"ｶ";
    }
    const std::string bytes = toCp932(text);
    EXPECT_EQ(bytes.size(), 66667u * 2 + 66667u + 66666u);
    EXPECT_EQ(fromCp932(bytes), text);
}

TEST(Cp932Test, EveryCodeDecodesToACharacterThatEncodesBackToTheSameCharacter) {
    int characters = 0;
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
        for (int trail = 0x40; trail <= 0xFC && isCp932LeadByte(static_cast<unsigned char>(lead));
             ++trail) {
            const std::string code{static_cast<char>(lead), static_cast<char>(trail)};
            const std::u16string c = fromCp932(code);
            if (c.size() == 1) {
                ++characters;
                EXPECT_EQ(fromCp932(toCp932(c)), c) << lead << " " << trail;
            }
        }
    }
    EXPECT_EQ(characters, 9604);  // the Windows table, user-defined area included
    // Where two codes hold one character, the Windows choice: the IBM
    // extension rows, not the NEC-selected copies; best fits for look-alikes.
    EXPECT_EQ(toCp932(u"\uFA2C\u2170\uFFE2"), "\xFB\xF9\xFA\x40\x81\xCA");
    EXPECT_EQ(toCp932(u"\u2014\u00A5\u203E"), "\x81\x5C\x5C\x7E");
    EXPECT_EQ(fromCp932("\xED\x40\xFA\x5C"), u"\u7E8A\u7E8A");
}

TEST(Cp932Test, PrefixNeverEndsInsideADoubleByteCharacter) {
    const std::string text = "ab\x93\xFA\x96\x7B";  // ab日本
    EXPECT_EQ(cp932PrefixLength(text, 0), 0u);
    EXPECT_EQ(cp932PrefixLength(text, 2), 2u);
    EXPECT_EQ(cp932PrefixLength(text, 3), 2u);
    EXPECT_EQ(cp932PrefixLength(text, 4), 4u);
    EXPECT_EQ(cp932PrefixLength(text, 5), 4u);
    EXPECT_EQ(cp932PrefixLength(text, 6), 6u);
    EXPECT_EQ(cp932PrefixLength(text, 1000), 6u);
    // Half-width katakana are single bytes even above 0x80; both lead-byte
    // ranges count.
    EXPECT_EQ(cp932PrefixLength("\xB6\xB6\xB6", 2), 2u);
    EXPECT_EQ(cp932PrefixLength("\xE0\x40\xFC\x40", 3), 2u);
    EXPECT_EQ(cp932PrefixLength("\x9F\x40x", 1), 0u);
    // A lead byte without its second byte at the end of the text.
    EXPECT_EQ(cp932PrefixLength("a\x93", 1), 1u);
    EXPECT_EQ(cp932PrefixLength("a\x93", 10), 2u);
}

}  // namespace
}  // namespace kazunavi
