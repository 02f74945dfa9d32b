// Text below the window: code page 932, UTF-8, the string cuts and finds,
// numbers as text, and the narrow window titles of the browser capture.

#include <gtest/gtest.h>

#include "platform/common/browser_frames.h"
#include "platform/common/cp932.h"
#include "platform/common/utf8.h"
#include "platform/common/window_text.h"
#include "platform/failure.h"
#include "shell/model/number_text.h"
#include "shell/model/text.h"

namespace kazunavi {
namespace {

TEST(Cp932, EveryCodeOfTheWindowsTableRoundTripsAndTheRestIsOneMark) {
    int characters = 0;
    std::u16string all;
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
        for (int trail = 0x40; trail <= 0xFC && isCp932LeadByte(std::uint8_t(lead)); ++trail) {
            const std::u16string c = fromCp932(std::string{char(lead), char(trail)});
            if (c.size() == 1) {
                ++characters;
                EXPECT_EQ(fromCp932(toCp932(c)), c) << lead << " " << trail;
                all += c;
            }
        }
    }
    EXPECT_EQ(characters, 9604);              // the user-defined area included
    EXPECT_EQ(fromCp932(toCp932(all)), all);  // long texts convert completely
    std::u16string ascii = u"日ｶ\u3000";
    std::string bytes = "\x93\xFA\xB6\x81\x40";
    for (char16_t c = 0; c < 0x80; ++c) {
        ascii += c;
        bytes += char(c);  // a backslash stays one, not a yen sign
    }
    EXPECT_EQ(toCp932(ascii), bytes);
    EXPECT_EQ(fromCp932(bytes), ascii);
    // Of two codes the IBM extension rows; best fits for look-alikes.
    EXPECT_EQ(toCp932(u"\uFA2C\u2170\uFFE2\u2014\u00A5\u203E"),
              "\xFB\xF9\xFA\x40\x81\xCA\x81\x5C\x5C\x7E");
    EXPECT_EQ(fromCp932("\xED\x40\xFA\x5C"), u"\u7E8A\u7E8A");
    // A character it cannot hold, also a pair or a lone surrogate, is one '?'.
    EXPECT_EQ(toCp932(u"a\u00E9\U0001F600\uD55C" + std::u16string(1, u'\xD800') + u"z"), "a????z");
    // Invalid bytes are replacement characters and take nothing after them.
    EXPECT_EQ(fromCp932("a\x80z\x82\n\x93\xFA\x82"), u"a\uFFFDz\uFFFD\n日\uFFFD");
}

TEST(Cp932, APrefixNeverEndsInsideADoubleByteCharacter) {
    const std::pair<std::string_view, std::size_t> cases[] = {
        {"ab\x93\xFA", 3}, {"ab\x93\xFA", 4}, {"\xB6\xB6\xB6", 2}, {"\xE0\x40\xFC\x40", 3},
        {"\x9F\x40x", 1},  {"a\x93", 1},      {"a\x93", 9}};
    const std::size_t expected[] = {2, 4, 2, 2, 0, 1, 2};
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_EQ(cp932PrefixLength(cases[i].first, cases[i].second), expected[i]) << i;
    }
    // The narrow window text: a buffer of n bytes holds n - 1 of the title.
    EXPECT_EQ(narrowWindowText(u"日本 — x\U0001F600", 128), u"日本 ― x?");
    for (int size : {-5, 0, 1}) {
        EXPECT_EQ(narrowWindowText(u"title", size), u"");
    }
    EXPECT_EQ(narrowWindowText(u"title", 2), u"t");
}

TEST(Utf8, RoundTripsAndMalformedSequencesNeverBecomeCharacters) {
    const std::u16string s = u"待機中 ｒ \U0001F600 \U0010FFFF\uFFFF";
    EXPECT_EQ(fromUtf8(toUtf8(s)), s);
    EXPECT_EQ(toUtf8(u"待" + std::u16string(1, u'\xD800')), "\xE5\xBE\x85\xEF\xBF\xBD");
    // Overlong forms (a NUL above all), surrogates, beyond U+10FFFF, cut short.
    const std::pair<std::string_view, std::u16string_view> cases[] = {
        {"a\xC0\x80", u"a\uFFFD\uFFFD"},
        {"\xE0\x80\xAF", u"\uFFFD\uFFFD\uFFFD"},
        {"\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},
        {"\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},
        {"\xE5\xBE", u"\uFFFD\uFFFD"},
        {"\xFF"
         "b",
         u"\uFFFDb"}};
    for (const auto& [bytes, text] : cases) {
        EXPECT_EQ(fromUtf8(bytes), text);
    }
}

// Counted in UTF-16 units from 1; lengths beyond the text are cut, negative
// ones and positions below 1 fail.
TEST(TextCuts, AtAndBeyondTheEdges) {
    using namespace text;
    EXPECT_EQ(left(u"abc", 10) + right(u"abc", 10) + mid(u"abc", 2, 10) + mid(u"abc", 4, 1) +
                  mid(u"abc", 9) + left(u"abc", 0) + right(u"abc", 0) + mid(u"abcdef", 3),
              u"abcabcbccdef");
    EXPECT_EQ(left(u"a\U0001F600b", 2), u"a\xD83D");
    EXPECT_EQ(length(u"a\U0001F600b"), 4);
    for (auto cut : {+[] { left(u"a", -1); }, +[] { right(u"", -1); }, +[] { mid(u"a", 1, -1); },
                     +[] { mid(u"abc", 0, 1); }, +[] { mid(u"abc", -3); }}) {
        EXPECT_THROW(cut(), Failure);
    }
    const std::tuple<std::u16string_view, std::u16string_view, int> finds[] = {
        {u"a[b[c", u"[", 2}, {u"abc", u"x", 0}, {u"HTTP://x http", u"http", 10},
        {u"abc", u"", 1},    {u"", u"", 0},     {u"ab", u"abc", 0}};
    for (const auto& [s, key, at] : finds) {
        EXPECT_EQ(find(s, key), at);
    }
}

TEST(NumberText, WhatCountsAsANumberAndHowItIsWritten) {
    const std::pair<std::u16string_view, double> numbers[] = {
        {u" 007 ", 7}, {u"1e3", 1000}, {u"-3", -3},   {u"+4", 4},
        {u".5", .5},   {u"5.", 5},     {u"1E-2", .01}};
    for (const auto& [text, value] : numbers) {
        EXPECT_EQ(number::toDouble(text), value);
    }
    for (const char16_t* bad :
         {u"", u" ", u"7a", u"1-20", u"--1", u"1e", u"e3", u".", u"1 2", u"0x10", u"1e999", u"-"}) {
        EXPECT_THROW(number::toDouble(bad), Failure);
        EXPECT_FALSE(number::isNumber(bad));
    }
    EXPECT_EQ(number::plainDecimal(-0.0) + u" " + number::plainDecimal(999999999999999.0) + u" " +
                  number::plainDecimal(0.1) + u" " + number::plainDecimal(1e20),
              u"0 999999999999999 0.1 1E+20");
    const std::tuple<std::u16string_view, std::u16string_view, std::u16string_view> masks[] = {
        {u"5", u"000", u"005"},   {u"100", u"00", u"100"},
        {u"-3", u"000", u"-003"}, {u"2.5", u"00", u"03"},
        {u"2.4", u"0", u"2"},     {u"0-", u"00", u"0-"},
        {u"007", u"", u"7"},      {u"1e20", u"0", u"100000000000000000000"}};
    for (const auto& [text, mask, written] : masks) {
        EXPECT_EQ(number::formatWithMask(text, mask), written);
    }
    EXPECT_EQ(number::toInt16(-32768), -32768);
    EXPECT_THROW(number::toInt16(32768), Failure);
    EXPECT_THROW(number::toInt16(-32769), Failure);
}

// What the browser added to the page's title, in characters of the narrow
// window title; nothing when the window shows another moment's title.
TEST(BrowserFrames, TheSuffixOfTheWindowTitleAndTheFrameInFront) {
    const std::u16string firefox = u" — Mozilla Firefox", kanji(60, u'語'), more(64, u'語');
    const std::tuple<std::u16string, std::u16string, std::optional<int>> titles[] = {
        {u"Page" + firefox, u"Page", 18}, {u"Mozilla Firefox", u"", 15},
        {u"Fun — \U0001F600", u"Fun", 4}, {u"", u"", 0},
        {kanji + firefox, kanji, 6},      {more + firefox, more, 0},
        {u"Go" + firefox, u"Page", {}},   {u"Page", u"Page B", {}}};
    for (const auto& [window, page, suffix] : titles) {
        EXPECT_EQ(titleSuffixLength(window, page, 128), suffix) << suffix.value_or(-1);
    }
    // The frame of the window's process with exactly its title; of several,
    // the one active frame; none for process 0.
    std::vector<FrameFacts> frames = {
        {u"A", 7, true}, {u"A", 8, false}, {u"B", 8, true}, {u"A", 8, false}, {u"", 0, true}};
    EXPECT_EQ(matchFrame(frames, 7, u"A"), 0u);
    EXPECT_FALSE(matchFrame(frames, 8, u"A"));
    frames[3].active = true;
    EXPECT_EQ(matchFrame(frames, 8, u"A"), 3u);
    frames[1].active = true;
    EXPECT_FALSE(matchFrame(frames, 8, u"A"));
    EXPECT_FALSE(matchFrame(frames, 8, u"a"));
    EXPECT_FALSE(matchFrame(frames, 0, u""));
    // A sight is believed when the next look sees the same.
    SecondLook look;
    EXPECT_FALSE(look.confirms(":1.2/7", u"F", u""));
    EXPECT_TRUE(look.confirms(":1.2/7", u"F", u""));
    EXPECT_FALSE(look.confirms(":1.2/8", u"F", u""));
    EXPECT_FALSE(look.confirms(":1.2/8", u"F", u"P"));
    EXPECT_FALSE(look.confirms(":1.2/8", u"G", u"P"));
    EXPECT_TRUE(look.confirms(":1.2/8", u"G", u"P"));
}

}  // namespace
}  // namespace kazunavi
