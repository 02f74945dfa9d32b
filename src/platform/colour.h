#pragma once

#include <cstdint>

namespace kazunavi {

// A 24-bit colour value with red in the low byte and blue in the high byte.
using Colour = std::int32_t;

constexpr int redOf(Colour c) {
    return c & 0xFF;
}
constexpr int greenOf(Colour c) {
    return (c >> 8) & 0xFF;
}
constexpr int blueOf(Colour c) {
    return (c >> 16) & 0xFF;
}

}  // namespace kazunavi
