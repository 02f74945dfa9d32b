#include <gtest/gtest.h>

#include "platform/common/utf8.h"
#include "platform/failure.h"
#include "shell/model/text.h"

namespace kazunavi {
namespace {

using text::find;
using text::left;
using text::mid;
using text::right;

TEST(TextCuts, CountsAtAndBeyondTheEdges) {
    EXPECT_EQ(left(u"abc", 10), u"abc");
    EXPECT_EQ(right(u"abc", 10), u"abc");
    EXPECT_EQ(mid(u"abc", 2, 10), u"bc");
    EXPECT_EQ(mid(u"abc", 4, 1), u"");
    EXPECT_EQ(mid(u"abc", 9), u"");
    EXPECT_EQ(left(u"abc", 0), u"");
    EXPECT_EQ(right(u"abc", 0), u"");
    EXPECT_EQ(mid(u"abc", 1, 0), u"");
    EXPECT_THROW(left(u"abc", -1), Failure);
    EXPECT_THROW(right(u"abc", -1), Failure);
    EXPECT_THROW(mid(u"abc", 1, -1), Failure);
    EXPECT_THROW(right(u"", -1), Failure);
}

TEST(TextCuts, MidStartsAtOneAndRejectsPositionsBelow) {
    EXPECT_EQ(mid(u"abcdef", 1, 2), u"ab");
    EXPECT_EQ(mid(u"abcdef", 3), u"cdef");
    EXPECT_THROW(mid(u"abc", 0, 1), Failure);
    EXPECT_THROW(mid(u"abc", -3), Failure);
}

TEST(TextCuts, CountInUtf16CodeUnits) {
    // A character outside the basic plane is two units: the cut may split it.
    const std::u16string s = u"a\U0001F600b";
    EXPECT_EQ(text::length(s), 4);
    EXPECT_EQ(left(s, 2), std::u16string(u"a") + s[1]);
    EXPECT_EQ(right(u"連番ＵＲＬ", 3), u"ＵＲＬ");
}

TEST(TextFind, FirstOccurrenceCountedFromOne) {
    EXPECT_EQ(find(u"ttp://host/p[01-20].jpg", u"://"), 4);
    EXPECT_EQ(find(u"a[b[c", u"["), 2);
    EXPECT_EQ(find(u"abc", u"x"), 0);
    EXPECT_EQ(find(u"HTTP://x", u"http"), 0);
    EXPECT_EQ(find(u"HTTP://x http", u"http"), 10);
    EXPECT_EQ(find(u"abc", u""), 1);
    EXPECT_EQ(find(u"", u""), 0);
    EXPECT_EQ(find(u"", u"://"), 0);
    EXPECT_EQ(find(u"ab", u"abc"), 0);  // keyword longer than the text
}

TEST(TextUtf8, RoundTripsAndBrokenInputBecomesReplacementCharacters) {
    const std::u16string s = u"待機中 ｒ \U0001F600 http://例.jp/";
    EXPECT_EQ(fromUtf8(toUtf8(s)), s);
    EXPECT_EQ(toUtf8(u"待"), "\xE5\xBE\x85");
    EXPECT_EQ(fromUtf8("a\xE5\xBE"), u"a\uFFFD\uFFFD");
    EXPECT_EQ(fromUtf8("\xFF"
                       "b"),
              u"\uFFFDb");
    EXPECT_EQ(toUtf8(std::u16string(1, u'\xD800')), "\xEF\xBF\xBD");
}

TEST(TextUtf8, MalformedSequencesNeverBecomeCharacters) {
    // An overlong NUL must not slip through as a character of its own.
    EXPECT_EQ(fromUtf8("a\xC0\x80"), u"a\uFFFD\uFFFD");
    EXPECT_EQ(fromUtf8("\xE0\x80\xAF"), u"\uFFFD\uFFFD\uFFFD");
    // Surrogates and code points beyond U+10FFFF.
    EXPECT_EQ(fromUtf8("\xED\xA0\x80"), u"\uFFFD\uFFFD\uFFFD");
    EXPECT_EQ(fromUtf8("\xF4\x90\x80\x80"), u"\uFFFD\uFFFD\uFFFD\uFFFD");
    // The largest ones that are well formed.
    EXPECT_EQ(fromUtf8("\xF4\x8F\xBF\xBF"), u"\U0010FFFF");
    EXPECT_EQ(fromUtf8("\xEF\xBF\xBF"), u"\uFFFF");
}

}  // namespace
}  // namespace kazunavi
