#pragma once

#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

#include "platform/colour.h"
#include "platform/services.h"
#include "runner/scenario_syntax.h"

namespace kazunavi::scenario {

enum class ValueKind { Text, Boolean, Number, Colour, Handle };

// What a property or variable holds, with the range a number may take.
struct ValueType {
    ValueKind kind = ValueKind::Number;
    long long min = std::numeric_limits<std::int32_t>::min();
    long long max = std::numeric_limits<std::int32_t>::max();
};

// A value read from the program or written in a scenario. Numbers are kept
// normalised (a colour as its signed 32-bit value, a handle as unsigned), so
// equal values compare equal however they were written.
struct Value {
    ValueKind kind = ValueKind::Number;
    std::u16string text;
    long long number = 0;

    bool operator==(const Value&) const = default;
};

Value textValue(std::u16string text);
Value booleanValue(bool flag);
Value numberValue(long long number);
Value colourValue(Colour colour);
Value handleValue(WindowHandle handle);

// The main window's and the about box's own handles.
inline constexpr WindowHandle kMainHandle = 0x1000;
inline constexpr WindowHandle kAboutHandle = 0x2000;

// A handle as written: a number or the word main or about.
std::optional<WindowHandle> parseHandle(std::string_view word);

// The value a scenario wrote for subject; fails when the word does not fit the type.
Value valueFromToken(const Token& token, const ValueType& type, std::string_view subject);

// The value as a scenario would write it.
std::string describe(const Value& value);

}  // namespace kazunavi::scenario
