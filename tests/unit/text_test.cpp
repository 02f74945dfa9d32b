// Text below the window: code page 932, UTF-8, numbers, and the narrow
// window titles of the browser capture.

#include <gtest/gtest.h>

#include "platform/common/browser_frames.h"
#include "platform/common/cp932.h"
#include "platform/common/utf8.h"
#include "platform/common/window_text.h"
#include "shell/model/number_text.h"

namespace kazunavi {
namespace {

// Every code of the Windows table, the user-defined area included, comes
// back as itself; of two codes for one character the IBM rows; best fits for
// look-alikes. What the code page cannot hold is one '?' a character, and an
// invalid byte one replacement character that takes nothing after it.
TEST(Cp932, EveryCodeRoundTripsAndTheRestIsOneMark) {
    std::u16string all = u"日ｶ\u3000\\~";
    std::string bytes = "\x93\xFA\xB6\x81\x40\\~";
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
        for (int trail = 0x40; trail <= 0xFC && isCp932LeadByte(std::uint8_t(lead)); ++trail) {
            const std::u16string c = fromCp932(std::string{char(lead), char(trail)});
            if (c.size() == 1) {
                all += c;
                bytes += toCp932(c);
            }
        }
    }
    EXPECT_EQ(all.size(), 9604u + 5);
    EXPECT_EQ(fromCp932(bytes), all);
    EXPECT_EQ(toCp932(all), bytes);
    EXPECT_EQ(toCp932(u"\uFA2C\u2170\uFFE2\u2014\u00A5\u203E"),
              "\xFB\xF9\xFA\x40\x81\xCA\x81\x5C\x5C\x7E");
    EXPECT_EQ(fromCp932("\xED\x40\xFA\x5C"), u"\u7E8A\u7E8A");
    EXPECT_EQ(toCp932(u"a\u00E9\U0001F600\uD55C" + std::u16string(1, u'\xD800') + u"z"), "a????z");
    EXPECT_EQ(fromCp932("a\x80z\x82\n\x93\xFA\x82"), u"a\uFFFDz\uFFFD\n日\uFFFD");
    // A prefix never ends inside a double-byte character.
    EXPECT_EQ(cp932PrefixLength("ab\x93\xFA", 4) * 1000 +
                  cp932PrefixLength("\xE0\x40\xFC\x40", 3) * 100 +
                  cp932PrefixLength("\x9F\x40\xB6", 1) * 10 + cp932PrefixLength("\xB6\x93", 9),
              4202u);
    // The narrow window text: a buffer of n bytes holds n - 1 of the title.
    EXPECT_EQ(narrowWindowText(u"日本 — x\U0001F600", 128) + narrowWindowText(u"ti", 2) +
                  narrowWindowText(u"ti", 1) + narrowWindowText(u"ti", -5),
              u"日本 ― x?t");
}

TEST(Utf8, RoundTripsAndMalformedSequencesNeverBecomeCharacters) {
    const std::u16string s = u"待 ｒ \U00010000\uFFFF\u07FF\u0800\U0010FFFF";
    EXPECT_EQ(fromUtf8(toUtf8(s)), s);
    EXPECT_EQ(toUtf8(s.substr(0, 1) + char16_t(0xD800)), "\xE5\xBE\x85\xEF\xBF\xBD");
    // Overlong forms (a NUL above all), surrogates, beyond U+10FFFF, cut short.
    EXPECT_EQ(fromUtf8("a\xC0\x80|\xE0\x80\xAF|\xED\xA0\x80|\xF4\x90\x80\x80|\xE5\xBE|\xFF"),
              u"a\uFFFD\uFFFD|\uFFFD\uFFFD\uFFFD|\uFFFD\uFFFD\uFFFD|\uFFFD\uFFFD\uFFFD\uFFFD|"
              u"\uFFFD\uFFFD|\uFFFD");
}

// Signs, points and exponents of either case; no hexadecimal, nothing
// beyond a double.
TEST(NumberText, WhatCountsAsANumber) {
    EXPECT_EQ(number::toDouble(u" +.5e1 ") + number::toDouble(u"5.") + number::toDouble(u"25E-2"),
              10.25);
    for (const char16_t* bad : {u"1e", u"e3", u".", u"1 2", u"0x10", u"1e999", u"-"}) {
        EXPECT_FALSE(number::isNumber(bad));
    }
}

// What the browser added to the page's title, in characters of the narrow
// window title; nothing when the window shows another moment's title. The
// frame in front: of the window's process with exactly its title; of
// several, the one active frame; none for process 0.
TEST(BrowserFrames, TheSuffixOfTheWindowTitleAndTheFrameInFront) {
    const std::u16string firefox = u" — Mozilla Firefox", kanji(60, u'語'), more(64, u'語');
    std::string suffixes;
    const std::pair<std::u16string, std::u16string> titles[] = {
        {u"Page" + firefox, u"Page"}, {u"Mozilla Firefox", u""},
        {u"F — \U0001F600", u"F"},    {u"", u""},
        {kanji + firefox, kanji},     {more + firefox, more},
        {u"Go" + firefox, u"Page"},   {u"Page", u"Page B"}};
    for (const auto& [window, page] : titles) {
        suffixes += std::to_string(titleSuffixLength(window, page, 128).value_or(-1)) + " ";
    }
    EXPECT_EQ(suffixes, "18 15 4 0 6 0 -1 -1 ");
    std::vector<FrameFacts> frames = {
        {u"A", 7, true}, {u"A", 8, false}, {u"B", 8, false}, {u"A", 8, false}, {u"", 0, true}};
    EXPECT_EQ(matchFrame(frames, 7, u"A"), 0u);
    EXPECT_EQ(matchFrame(frames, 8, u"B"), 2u);
    EXPECT_FALSE(matchFrame(frames, 8, u"A"));
    frames[3].active = true;
    EXPECT_EQ(matchFrame(frames, 8, u"A"), 3u);
    frames[1].active = true;
    EXPECT_FALSE(matchFrame(frames, 8, u"A") || matchFrame(frames, 8, u"a") ||
                 matchFrame(frames, 0, u""));
    // A sight is believed when the next look sees the same.
    SecondLook look;
    std::string believed;
    const std::tuple<const char*, const char16_t*, const char16_t*> looks[] = {
        {":1/7", u"F", u""},  {":1/7", u"F", u""},  {":1/8", u"F", u""},
        {":1/8", u"F", u"P"}, {":1/8", u"G", u"P"}, {":1/8", u"G", u"P"}};
    for (const auto& [document, window, page] : looks) {
        believed += look.confirms(document, window, page) ? "y" : "n";
    }
    EXPECT_EQ(believed, "nynnny");
}

}  // namespace
}  // namespace kazunavi
