#pragma once

#include <cstdint>

#include "platform/services.h"

namespace kazunavi {

class Form1;
class AddressBrowsing;

// The members of the step family: the four single-step clicks and the two
// hold-to-count ticks. They share one step and differ only in their rule.
enum class StepMember { UPbutton, lblUP, DWNbutton, lblDWN, Cup, Cdwn };

// Counts the running number in txtNo up or down by one, keeping its width with
// leading zeros and, with the limiter on, between the bounds txtLimL and
// txtLimH; after a single step with automatic browsing on, the browser is sent
// to the new address.
class StepFamily {
  public:
    StepFamily(Form1& form, Services& services, AddressBrowsing& navigator)
        : f_(form), s_(services), nav_(navigator) {}

    void run(StepMember member);

  private:
    struct Rule;
    enum class Outcome { Stepped, AtBound, NotAboveZero };

    // The family's table: how each member steps, bounds, browses and fails.
    static const Rule& ruleOf(StepMember member);

    // The step itself; throws Failure when a box does not hold a number or the
    // width does not fit. Whatever it wrote before the failure stays.
    Outcome step(const Rule& rule);
    std::int16_t width(const Rule& rule);
    void stopAtBound(const Rule& rule);
    void browse();

    Form1& f_;
    Services& s_;
    AddressBrowsing& nav_;
};

}  // namespace kazunavi
