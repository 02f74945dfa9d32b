#include <gtest/gtest.h>

#include "platform/failure.h"
#include "shell/model/form1.h"
#include "shell/model/number_text.h"

namespace kazunavi {
namespace {

using number::formatWithMask;
using number::plainDecimal;
using number::toDouble;

TEST(NumberConversion, AcceptsWhatUsersSelect) {
    EXPECT_EQ(toDouble(u"007"), 7.0);
    EXPECT_EQ(toDouble(u" 12 "), 12.0);
    EXPECT_EQ(toDouble(u"1e3"), 1000.0);
    EXPECT_EQ(toDouble(u"-3"), -3.0);
    EXPECT_EQ(toDouble(u"+4"), 4.0);
    EXPECT_EQ(toDouble(u"2.5"), 2.5);
    EXPECT_EQ(toDouble(u".5"), 0.5);
    EXPECT_EQ(toDouble(u"5."), 5.0);
    EXPECT_EQ(toDouble(u"1E-2"), 0.01);
    EXPECT_EQ(toDouble(u"000"), 0.0);
}

TEST(NumberConversion, RejectsEverythingElse) {
    for (const char16_t* bad : {u"", u" ", u"7a", u"a7", u"1-20", u"0-", u"--1", u"1e", u"e3", u".",
                                u"1 2", u"0x10", u"1e999", u"-", u"[01"}) {
        EXPECT_THROW(toDouble(bad), Failure) << "accepted a non-number";
        EXPECT_FALSE(number::isNumber(bad));
    }
}

TEST(PlainDecimal, WholeNumbersBareOthersWithFifteenSignificantDigits) {
    EXPECT_EQ(plainDecimal(7), u"7");
    EXPECT_EQ(plainDecimal(0), u"0");
    EXPECT_EQ(plainDecimal(-0.0), u"0");
    EXPECT_EQ(plainDecimal(-3), u"-3");
    EXPECT_EQ(plainDecimal(100), u"100");
    EXPECT_EQ(plainDecimal(999999999999999.0), u"999999999999999");
    EXPECT_EQ(plainDecimal(2.5), u"2.5");
    EXPECT_EQ(plainDecimal(0.1), u"0.1");
    EXPECT_EQ(plainDecimal(1e20), u"1E+20");
}

TEST(ZeroMaskFormat, PadsToTheMaskWidthWithTheMinusInFront) {
    EXPECT_EQ(formatWithMask(u"5", u""), u"5");
    EXPECT_EQ(formatWithMask(u"5", u"00"), u"05");
    EXPECT_EQ(formatWithMask(u"5", u"000"), u"005");
    EXPECT_EQ(formatWithMask(u"1234", u"00"), u"1234");
    EXPECT_EQ(formatWithMask(u"1234", u"000"), u"1234");
    EXPECT_EQ(formatWithMask(u"100", u"00"), u"100");  // 99 + 1 with width 2
    EXPECT_EQ(formatWithMask(u"-3", u""), u"-3");
    EXPECT_EQ(formatWithMask(u"-3", u"00"), u"-03");
    EXPECT_EQ(formatWithMask(u"-3", u"000"), u"-003");
}

TEST(ZeroMaskFormat, RoundsFractionsAndKeepsNonNumbers) {
    EXPECT_EQ(formatWithMask(u"2.5", u"00"), u"03");
    EXPECT_EQ(formatWithMask(u"2.4", u"0"), u"2");
    EXPECT_EQ(formatWithMask(u"0-", u"00"), u"0-");
    EXPECT_EQ(formatWithMask(u"", u"00"), u"");
    EXPECT_EQ(formatWithMask(u"007", u""), u"7");
    EXPECT_EQ(formatWithMask(u"1e20", u"000"), u"100000000000000000000");
}

TEST(ZeroMaskBuild, CountsLoopCntOnePastTheWidth) {
    Form1Variables v;
    v.NoLen = 3;
    v.buildZeroMask();
    EXPECT_EQ(v.ZeroMask, u"000");
    EXPECT_EQ(v.LoopCnt, 4);

    v.NoLen = 0;
    v.buildZeroMask();
    EXPECT_EQ(v.ZeroMask, u"");
    EXPECT_EQ(v.LoopCnt, 1);

    v.NoLen = -5;
    v.buildZeroMask();
    EXPECT_EQ(v.ZeroMask, u"");

    // The largest width overflows the counter.
    v.NoLen = 32767;
    EXPECT_THROW(v.buildZeroMask(), Failure);
    v.NoLen = 32766;
    v.buildZeroMask();
    EXPECT_EQ(v.ZeroMask.size(), 32766u);
}

TEST(Int16, OverflowIsAFailure) {
    EXPECT_EQ(number::toInt16(32767), 32767);
    EXPECT_EQ(number::toInt16(-32768), -32768);
    EXPECT_THROW(number::toInt16(32768), Failure);
    EXPECT_THROW(number::toInt16(-32769), Failure);
}

}  // namespace
}  // namespace kazunavi
