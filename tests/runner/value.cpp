#include "runner/value.h"

#include "runner/command_words.h"
#include "runner/scenario_failure.h"
#include "runner/value_text.h"

namespace kazunavi::scenario {

Value textValue(std::u16string text) {
    return Value{ValueKind::Text, std::move(text), 0};
}
Value booleanValue(bool flag) {
    return Value{ValueKind::Boolean, {}, flag ? 1 : 0};
}
Value numberValue(long long number) {
    return Value{ValueKind::Number, {}, number};
}
Value colourValue(Colour colour) {
    return Value{ValueKind::Colour, {}, colour};
}
Value handleValue(WindowHandle handle) {
    return Value{ValueKind::Handle, {}, handle};
}

std::optional<WindowHandle> parseHandle(std::string_view word) {
    if (word == "main") {
        return kMainHandle;
    }
    if (word == "about") {
        return kAboutHandle;
    }
    const auto number = parseInteger(word);
    if (!number || *number < 0 || *number > std::numeric_limits<WindowHandle>::max()) {
        return std::nullopt;
    }
    return static_cast<WindowHandle>(*number);
}

namespace {

[[noreturn]] void unfit(const Token& token, std::string_view subject, const std::string& wanted) {
    throw ScenarioFailure("expected " + wanted + " for " + std::string(subject) + ", found " +
                          written(token));
}

}  // namespace

Value valueFromToken(const Token& token, const ValueType& type, std::string_view subject) {
    if (type.kind == ValueKind::Text) {
        if (!token.quoted) {
            unfit(token, subject, "a string in double quotes");
        }
        return textValue(token.text);
    }
    if (token.quoted) {
        unfit(token, subject,
              type.kind == ValueKind::Boolean ? std::string("true or false")
                                              : std::string("a number"));
    }
    switch (type.kind) {
        case ValueKind::Boolean: {
            const auto flag = parseBoolean(token.word);
            if (!flag) {
                unfit(token, subject, "true or false");
            }
            return booleanValue(*flag);
        }
        case ValueKind::Colour: {
            const auto number = parseInteger(token.word);
            if (!number || *number < std::numeric_limits<std::int32_t>::min() ||
                *number > std::numeric_limits<std::uint32_t>::max()) {
                unfit(token, subject, "a colour number");
            }
            return colourValue(static_cast<Colour>(static_cast<std::uint32_t>(*number)));
        }
        case ValueKind::Handle: {
            const auto handle = parseHandle(token.word);
            if (!handle) {
                unfit(token, subject, "a window handle (0 to 0xFFFFFFFF, main or about)");
            }
            return handleValue(*handle);
        }
        default: {
            const auto number = parseInteger(token.word);
            if (!number) {
                unfit(token, subject, "a number");
            }
            if (*number < type.min || *number > type.max) {
                unfit(token, subject,
                      "a number from " + std::to_string(type.min) + " to " +
                          std::to_string(type.max));
            }
            return numberValue(*number);
        }
    }
}

std::string describe(const Value& value) {
    switch (value.kind) {
        case ValueKind::Text:
            return quoteText(value.text);
        case ValueKind::Boolean:
            return value.number != 0 ? "true" : "false";
        case ValueKind::Colour:
            return hexNumber(static_cast<std::uint32_t>(value.number), 6);
        case ValueKind::Handle: {
            std::string out = hexNumber(static_cast<std::uint32_t>(value.number), 1);
            if (value.number == kMainHandle) {
                out += " (main)";
            } else if (value.number == kAboutHandle) {
                out += " (about)";
            }
            return out;
        }
        case ValueKind::Number:
            break;
    }
    return std::to_string(value.number);
}

}  // namespace kazunavi::scenario
