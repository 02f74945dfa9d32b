#include "shell/model/text.h"

#include <limits>

#include "platform/failure.h"

namespace kazunavi::text {

namespace {

void requireCount(long long n) {
    if (n < 0) {
        throw Failure("negative character count");
    }
}

}  // namespace

std::int32_t length(std::u16string_view s) {
    if (s.size() > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())) {
        throw Failure("text too long");
    }
    return static_cast<std::int32_t>(s.size());
}

std::u16string left(std::u16string_view s, long long n) {
    requireCount(n);
    return std::u16string(s.substr(0, static_cast<std::size_t>(n)));
}

std::u16string right(std::u16string_view s, long long n) {
    requireCount(n);
    const auto count = std::min(static_cast<std::size_t>(n), s.size());
    return std::u16string(s.substr(s.size() - count));
}

std::u16string mid(std::u16string_view s, long long start, long long n) {
    if (start < 1) {
        throw Failure("start position below 1");
    }
    requireCount(n);
    const auto from = static_cast<std::size_t>(start - 1);
    if (from >= s.size()) {
        return {};
    }
    return std::u16string(s.substr(from, static_cast<std::size_t>(n)));
}

std::u16string mid(std::u16string_view s, long long start) {
    return mid(s, start, static_cast<long long>(s.size()));
}

std::int32_t find(std::u16string_view s, std::u16string_view key) {
    if (s.empty()) {
        return 0;
    }
    const auto at = s.find(key);
    return at == std::u16string_view::npos ? 0 : static_cast<std::int32_t>(at + 1);
}

}  // namespace kazunavi::text
