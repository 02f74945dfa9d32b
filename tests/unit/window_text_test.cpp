#include <gtest/gtest.h>

#include <string>

#include "platform/common/cp932.h"
#include "platform/common/window_text.h"

namespace kazunavi {
namespace {

constexpr int kBuffer = 128;  // the narrow window-text buffer of the capture

TEST(NarrowWindowText, KeepsAShortTitleAsItIs) {
    EXPECT_EQ(narrowWindowText(u"Page A 日本 - Chromium", kBuffer), u"Page A 日本 - Chromium");
    // The code page holds the em dash as the horizontal bar.
    EXPECT_EQ(narrowWindowText(u"Page A — Mozilla Firefox", kBuffer), u"Page A ― Mozilla Firefox");
    EXPECT_EQ(narrowWindowText(u"", kBuffer), u"");
}

TEST(NarrowWindowText, ACharacterOutsideTheCodePageIsOneQuestionMark) {
    EXPECT_EQ(narrowWindowText(u"a\U0001F600b\u00E9", kBuffer), u"a?b?");
    EXPECT_EQ(toCp932(narrowWindowText(u"a\U0001F600b", kBuffer)).size(), 3u);
}

TEST(NarrowWindowText, NoBufferNoText) {
    EXPECT_EQ(narrowWindowText(u"title", 0), u"");
    EXPECT_EQ(narrowWindowText(u"title", 1), u"");
    EXPECT_EQ(narrowWindowText(u"title", -5), u"");
    EXPECT_EQ(narrowWindowText(u"title", 2), u"t");
}

}  // namespace
}  // namespace kazunavi
