#pragma once

// Clipboard texts of any length for the benchmarks: an address ending in a
// running number, or a template with a bracketed range; a filler in the path
// makes up the length, `last` tells two texts of one length apart.

#include <cstdint>
#include <string>

namespace kazunavi::bench {

inline std::u16string filledTo(std::int64_t size, const std::u16string& tail) {
    const std::u16string head = u"ttp://example.org/";
    const auto fill = static_cast<std::size_t>(size) - head.size() - tail.size();
    return head + std::u16string(fill, u'a') + tail;
}

inline std::u16string address(std::int64_t size, char16_t last) {
    return filledTo(size, u"/p00" + std::u16string(1, last) + u".jpg");
}

inline std::u16string templateText(std::int64_t size, char16_t last) {
    return filledTo(size, u"/p[001-12" + std::u16string(1, last) + u"].jpg");
}

}  // namespace kazunavi::bench
