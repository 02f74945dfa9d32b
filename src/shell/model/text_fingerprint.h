#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace kazunavi {

// Tells whether a text is one seen before without keeping it: its length and
// a polynomial hash modulo the prime 2^61 - 1 at a base drawn at random. Two
// different texts of n characters share the hash with a chance below
// n / 2^61 whatever their content, since the base is unknown to whoever
// wrote them.
class TextFingerprint {
  public:
    explicit TextFingerprint(std::u16string_view text);
    bool matches(std::u16string_view text) const;

  private:
    std::uint64_t hash(std::u16string_view text) const;

    std::uint64_t base_;
    std::size_t length_;
    std::uint64_t hash_;
};

}  // namespace kazunavi
