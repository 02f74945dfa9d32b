#include "platform/linux/monotonic_ticks.h"

#include <gtest/gtest.h>

namespace kazunavi {
namespace {

TEST(MonotonicTicks, KeepsTheLowThirtyTwoBitsOfTheMilliseconds) {
    EXPECT_EQ(ticksOf(timespec{0, 0}), 0u);
    EXPECT_EQ(ticksOf(timespec{1, 999'999'999}), 1999u);
    EXPECT_EQ(ticksOf(timespec{4'294'967, 295'000'000}), 4'294'967'295u);
    // One millisecond later the counter wraps to zero.
    EXPECT_EQ(ticksOf(timespec{4'294'967, 296'000'000}), 0u);
    // Long uptimes: seconds times 1000 does not overflow before truncation.
    EXPECT_EQ(ticksOf(timespec{10'000'000'000, 5'000'000}),
              static_cast<std::uint32_t>(10'000'000'000'005ull));
}

TEST(MonotonicTicks, APauseLetsAtLeastThatMuchTimePass) {
    MonotonicTicks ticks;
    const std::uint32_t before = ticks.now();
    ticks.pause(30);
    const std::uint32_t after = ticks.now();
    // Differences of the wrapping counter are taken modulo 2^32.
    EXPECT_GE(static_cast<std::uint32_t>(after - before), 30u);
}

}  // namespace
}  // namespace kazunavi
