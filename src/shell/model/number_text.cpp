#include "shell/model/number_text.h"

#include <cmath>
#include <cstdio>
#include <limits>
#include <optional>
#include <string>

#include "platform/common/utf8.h"
#include "platform/failure.h"

namespace kazunavi::number {

namespace {

bool isBlank(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\u3000';
}
bool isDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

std::optional<double> parse(std::u16string_view t) {
    while (!t.empty() && isBlank(t.front())) {
        t.remove_prefix(1);
    }
    while (!t.empty() && isBlank(t.back())) {
        t.remove_suffix(1);
    }
    std::size_t i = 0;
    // The character at i, NUL past the end (NUL is none of the signs, digits
    // and letters looked for).
    const auto at = [&t](std::size_t k) { return k < t.size() ? t[k] : u'\0'; };
    std::string ascii;
    const auto take = [&] { ascii.push_back(static_cast<char>(t[i++])); };
    const auto takeDigits = [&] {
        std::size_t digits = 0;
        for (; isDigit(at(i)); ++digits) {
            take();
        }
        return digits;
    };
    if (at(i) == u'+' || at(i) == u'-') {
        take();
    }
    std::size_t digits = takeDigits();
    if (at(i) == u'.') {
        take();
        digits += takeDigits();
    }
    if (digits == 0) {
        return std::nullopt;
    }
    if (at(i) == u'e' || at(i) == u'E') {
        take();
        if (at(i) == u'+' || at(i) == u'-') {
            take();
        }
        if (takeDigits() == 0) {
            return std::nullopt;
        }
    }
    if (i != t.size()) {
        return std::nullopt;
    }
    const double value = std::strtod(ascii.c_str(), nullptr);
    if (!std::isfinite(value)) {
        return std::nullopt;
    }
    return value == 0.0 ? 0.0 : value;  // no negative zero
}

std::u16string ascii16(const std::string& s) {
    return std::u16string(s.begin(), s.end());
}

std::u16string signed16(bool negative, const std::string& digits) {
    std::u16string out;
    if (negative) {
        out.push_back(u'-');
    }
    out.append(digits.begin(), digits.end());
    return out;
}

// The digits of a whole, non-negative double, exactly.
std::string wholeDigits(double magnitude) {
    char buffer[400];
    std::snprintf(buffer, sizeof buffer, "%.0f", magnitude);
    return buffer;
}

}  // namespace

double toDouble(std::u16string_view text) {
    if (auto value = parse(text)) {
        return *value;
    }
    throw Failure("not a number: " + toUtf8(text));
}

bool isNumber(std::u16string_view text) {
    return parse(text).has_value();
}

std::u16string plainDecimal(double value) {
    if (value == 0.0) {
        return u"0";
    }
    if (value == std::trunc(value) && std::fabs(value) < 1e15) {
        return signed16(std::signbit(value), wholeDigits(std::fabs(value)));
    }
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.15G", value);
    return ascii16(buffer);
}

std::int16_t toInt16(long long value) {
    if (value < std::numeric_limits<std::int16_t>::min() ||
        value > std::numeric_limits<std::int16_t>::max()) {
        throw Failure("overflow");
    }
    return static_cast<std::int16_t>(value);
}

std::u16string formatWithMask(std::u16string_view text, std::u16string_view mask) {
    const auto value = parse(text);
    if (!value) {
        return std::u16string(text);
    }
    if (mask.empty()) {
        return plainDecimal(*value);
    }
    const double rounded = std::round(*value);
    std::string digits = wholeDigits(std::fabs(rounded));
    if (digits.size() < mask.size()) {
        digits.insert(0, mask.size() - digits.size(), '0');
    }
    return signed16(rounded < 0, digits);
}

}  // namespace kazunavi::number
