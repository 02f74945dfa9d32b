#include "shell/model/text_fingerprint.h"

#include <random>

namespace kazunavi {

namespace {

constexpr std::uint64_t kPrime = (std::uint64_t{1} << 61) - 1;
constexpr std::uint64_t kLow31 = (std::uint64_t{1} << 31) - 1;
constexpr std::uint64_t kLow30 = (std::uint64_t{1} << 30) - 1;

std::uint64_t reduced(std::uint64_t x) {
    const std::uint64_t folded = (x >> 61) + (x & kPrime);
    return folded >= kPrime ? folded - kPrime : folded;
}

// a * b modulo 2^61 - 1 for a, b below it, in 64-bit halves: 2^62 is 2 and
// 2^61 is 1 modulo the prime.
std::uint64_t product(std::uint64_t a, std::uint64_t b) {
    const std::uint64_t aHigh = a >> 31;
    const std::uint64_t aLow = a & kLow31;
    const std::uint64_t bHigh = b >> 31;
    const std::uint64_t bLow = b & kLow31;
    const std::uint64_t middle = aLow * bHigh + aHigh * bLow;
    return reduced(aHigh * bHigh * 2 + (middle >> 30) + ((middle & kLow30) << 31) + aLow * bLow);
}

std::uint64_t randomBase() {
    std::random_device device;
    const std::uint64_t drawn = (std::uint64_t{device()} << 32) ^ device();
    return 2 + drawn % (kPrime - 3);
}

}  // namespace

TextFingerprint::TextFingerprint(std::u16string_view text)
    : base_(randomBase()), length_(text.size()), hash_(hash(text)) {}

bool TextFingerprint::matches(std::u16string_view text) const {
    return text.size() == length_ && hash(text) == hash_;
}

// Three characters make one 48-bit coefficient, well below the prime.
std::uint64_t TextFingerprint::hash(std::u16string_view text) const {
    std::uint64_t h = 0;
    for (std::size_t i = 0; i < text.size(); i += 3) {
        std::uint64_t word = text[i];
        if (i + 1 < text.size()) {
            word |= std::uint64_t{text[i + 1]} << 16;
        }
        if (i + 2 < text.size()) {
            word |= std::uint64_t{text[i + 2]} << 32;
        }
        h = reduced(product(h, base_) + word);
    }
    return h;
}

}  // namespace kazunavi
