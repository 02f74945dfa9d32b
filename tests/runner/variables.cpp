#include "runner/variables.h"

#include <array>
#include <cstdint>
#include <limits>

#include "runner/scenario_failure.h"

namespace kazunavi::scenario {

namespace {

template <typename Int>
constexpr ValueType integerType() {
    return ValueType{ValueKind::Number, std::numeric_limits<Int>::min(),
                     std::numeric_limits<Int>::max()};
}

struct Variable {
    std::string_view name;
    ValueType type;
    Value (*read)(const Form1Variables&);
    void (*write)(Form1Variables&, const Value&);
};

constexpr ValueType kBoolean{ValueKind::Boolean};

// One entry per variable; the integers keep their declared widths.
const std::array<Variable, 13> kVariables{{
    {"AutoOn", kBoolean, [](const Form1Variables& v) { return booleanValue(v.AutoOn); },
     [](Form1Variables& v, const Value& x) { v.AutoOn = x.number != 0; }},
    {"LimitOn", kBoolean, [](const Form1Variables& v) { return booleanValue(v.LimitOn); },
     [](Form1Variables& v, const Value& x) { v.LimitOn = x.number != 0; }},
    {"PickMode", kBoolean, [](const Form1Variables& v) { return booleanValue(v.PickMode); },
     [](Form1Variables& v, const Value& x) { v.PickMode = x.number != 0; }},
    {"PickLen", integerType<std::int16_t>(),
     [](const Form1Variables& v) { return numberValue(v.PickLen); },
     [](Form1Variables& v, const Value& x) { v.PickLen = static_cast<std::int16_t>(x.number); }},
    {"NoLen", integerType<std::int16_t>(),
     [](const Form1Variables& v) { return numberValue(v.NoLen); },
     [](Form1Variables& v, const Value& x) { v.NoLen = static_cast<std::int16_t>(x.number); }},
    {"ZeroMask", ValueType{ValueKind::Text},
     [](const Form1Variables& v) { return textValue(v.ZeroMask); },
     [](Form1Variables& v, const Value& x) { v.ZeroMask = x.text; }},
    {"LoopCnt", integerType<std::int16_t>(),
     [](const Form1Variables& v) { return numberValue(v.LoopCnt); },
     [](Form1Variables& v, const Value& x) { v.LoopCnt = static_cast<std::int16_t>(x.number); }},
    {"CripHit", kBoolean, [](const Form1Variables& v) { return booleanValue(v.CripHit); },
     [](Form1Variables& v, const Value& x) { v.CripHit = x.number != 0; }},
    {"KeyPos", integerType<std::int32_t>(),
     [](const Form1Variables& v) { return numberValue(v.KeyPos); },
     [](Form1Variables& v, const Value& x) { v.KeyPos = static_cast<std::int32_t>(x.number); }},
    {"BrkLPos", integerType<std::int32_t>(),
     [](const Form1Variables& v) { return numberValue(v.BrkLPos); },
     [](Form1Variables& v, const Value& x) { v.BrkLPos = static_cast<std::int32_t>(x.number); }},
    {"BrkRPos", integerType<std::int32_t>(),
     [](const Form1Variables& v) { return numberValue(v.BrkRPos); },
     [](Form1Variables& v, const Value& x) { v.BrkRPos = static_cast<std::int32_t>(x.number); }},
    {"DetailOn", kBoolean, [](const Form1Variables& v) { return booleanValue(v.DetailOn); },
     [](Form1Variables& v, const Value& x) { v.DetailOn = x.number != 0; }},
    {"FrontWnd", ValueType{ValueKind::Handle},
     [](const Form1Variables& v) { return handleValue(v.FrontWnd); },
     [](Form1Variables& v, const Value& x) { v.FrontWnd = static_cast<WindowHandle>(x.number); }},
}};

const Variable& variable(std::string_view name) {
    for (const Variable& v : kVariables) {
        if (v.name == name) {
            return v;
        }
    }
    throw ScenarioFailure("unknown variable " + std::string(name));
}

}  // namespace

ValueType variableType(std::string_view name) {
    return variable(name).type;
}

Value readVariable(const Form1Variables& v, std::string_view name) {
    return variable(name).read(v);
}

void writeVariable(Form1Variables& v, std::string_view name, const Value& value) {
    variable(name).write(v, value);
}

}  // namespace kazunavi::scenario
