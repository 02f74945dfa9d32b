#include <gtest/gtest.h>

#include <cstdint>
#include <stdexcept>

#include "engine/press_hold.h"
#include "platform/services.h"

namespace kazunavi {
namespace {

// A tick counter whose time passes only in the pauses the hold asks for, by
// `step` ms per pause. Reading it many times without pausing means the hold
// spins on the processor: that fails the test instead of hanging it.
class SteppedCounter : public TickCounter {
  public:
    SteppedCounter(std::uint32_t start, std::uint32_t step) : reading_(start), step_(step) {}

    std::uint32_t now() override {
        if (++readsSincePause_ > 2) {
            throw std::logic_error("the hold reads the counter without pausing");
        }
        return reading_;
    }
    void pause(std::uint32_t ms) override {
        readsSincePause_ = 0;
        paused += ms;
        reading_ += step_;  // wraps like the system counter
        ++pauses;
    }

    std::uint64_t paused = 0;
    int pauses = 0;

  private:
    std::uint32_t reading_;
    std::uint32_t step_;
    int readsSincePause_ = 0;
};

// The hold ends once more than 200 ms have passed, also across the counter's
// wrap, pausing in slices of 1 ms: at most 1 ms late.
TEST(PressHold, EndsOnceMoreThan200msHavePassed) {
    for (std::uint32_t start : {5000u, 0xFFFFFF38u, 0xFFFFFFFFu, 0xFFFFFF37u, 0xFFFFFFFFu - 200u}) {
        SteppedCounter ticks(start, 1);
        holdAfterPress(ticks);
        EXPECT_EQ(ticks.pauses, 201) << "start " << start;
        EXPECT_EQ(ticks.paused, 201u) << "start " << start;
    }
}

TEST(PressHold, CoarseCounterEndsAtItsFirstReadingBeyond200ms) {
    // Counters that move in steps of about 16 ms: the hold ends at the first
    // reading more than 200 ms on, also when that reading lies past the wrap.
    for (std::uint32_t start : {1000u, 0xFFFFFFF0u, 0xFFFFFF40u}) {
        SteppedCounter ticks(start, 16);
        holdAfterPress(ticks);
        EXPECT_EQ(ticks.pauses, 13) << "start " << start;  // 13 * 16 = 208 > 200
    }
}

}  // namespace
}  // namespace kazunavi
