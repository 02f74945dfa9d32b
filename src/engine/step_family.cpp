#include "engine/step_family.h"

#include <optional>
#include <string>
#include <string_view>

#include "platform/failure.h"
#include "shell/model/address_browsing.h"
#include "shell/model/form1.h"
#include "shell/model/number_text.h"
#include "shell/model/text.h"

namespace kazunavi {

namespace {

enum class WidthRule {
    PickLenWhenPicked,      // PickLen in picked mode, else the length of txtLimL
    NumberTextWhenPicked,   // the length of txtNo in picked mode, else of txtLimL
    NumberTextIntoPickLen,  // the length of txtNo in both modes, copied into PickLen
};

enum class LimiterScope { BracketModeOnly, BothModes };

enum class FailureReport {
    ShortLine,   // Error_06 with the short first line
    LongLine,    // Error_06 with the long first line
    StopRepeat,  // no message: the repeat stops and nothing changes
};

constexpr std::u16string_view kLimiterPrompt = u"数値リミッタが作動中です。";
constexpr std::u16string_view kLimiterTitle = u"Kazunavi\u3000Erro\uFF52_02";
constexpr std::u16string_view kError06Title = u"Kazunavi\u3000Error_06";
constexpr std::u16string_view kError06Short =
    u"無効な動作が要求されたので、キャンセルします。\r\n"
    u"要求した命令に間違いがないか確認してください。";
constexpr std::u16string_view kError06Long =
    u"無効な動作が要求されたので、動作をキャンセルします。\r\n"
    u"要求した命令に間違いがないか確認してください。";

double value(const Element& e) {
    return number::toDouble(e.text());
}

std::int16_t lengthOf(const Element& e) {
    return number::toInt16(text::length(e.text()));
}

// What a step may write before it meets a failure, so that a repeat tick can
// leave everything as it found it.
struct StepState {
    std::u16string number;
    int selStart;
    int selLength;
    std::u16string next;
    std::int16_t NoLen;
    std::int16_t PickLen;
    std::int16_t LoopCnt;
    std::u16string ZeroMask;

    static StepState of(const Form1& f) {
        return {f.txtNo.text(), f.txtNo.selStart(), f.txtNo.selLength(), f.lblNoo.text(),
                f.v.NoLen,      f.v.PickLen,        f.v.LoopCnt,         f.v.ZeroMask};
    }
    void restore(Form1& f) const {
        f.txtNo.setText(number);
        f.txtNo.setSelStart(selStart);
        f.txtNo.setSelLength(selLength);
        f.lblNoo.setText(next);
        f.v.NoLen = NoLen;
        f.v.PickLen = PickLen;
        f.v.LoopCnt = LoopCnt;
        f.v.ZeroMask = ZeroMask;
    }
};

}  // namespace

struct StepFamily::Rule {
    int direction;  // +1 or -1; down only from values above 0
    WidthRule width;
    LimiterScope limiter;  // the limiter tests apply when LimitOn and ...
    Timer Form1::*repeat;  // stopped at a bound; nullptr for a single step
    bool browses;          // after a step, when AutoOn
    FailureReport onFailure;
};

const StepFamily::Rule& StepFamily::ruleOf(StepMember member) {
    using enum WidthRule;
    using enum LimiterScope;
    using enum FailureReport;
    static constexpr Rule kUPbutton{+1,   PickLenWhenPicked, BracketModeOnly, nullptr,
                                    true, ShortLine};
    static constexpr Rule kLblUP{+1, PickLenWhenPicked, BracketModeOnly, nullptr, true, LongLine};
    static constexpr Rule kDWNbutton{-1, NumberTextWhenPicked, BothModes, nullptr, true, ShortLine};
    static constexpr Rule kLblDWN{-1, NumberTextWhenPicked, BothModes, nullptr, true, LongLine};
    static constexpr Rule kCup{+1,        NumberTextIntoPickLen, BothModes, &Form1::Cup, false,
                               StopRepeat};
    static constexpr Rule kCdwn{-1,        NumberTextIntoPickLen, BothModes, &Form1::Cdwn, false,
                                StopRepeat};
    switch (member) {
        case StepMember::UPbutton:
            return kUPbutton;
        case StepMember::lblUP:
            return kLblUP;
        case StepMember::DWNbutton:
            return kDWNbutton;
        case StepMember::lblDWN:
            return kLblDWN;
        case StepMember::Cup:
            return kCup;
        case StepMember::Cdwn:
            break;
    }
    return kCdwn;
}

void StepFamily::run(StepMember member) {
    const Rule& rule = ruleOf(member);
    std::optional<StepState> before;
    if (rule.onFailure == FailureReport::StopRepeat) {
        before = StepState::of(f_);
    }
    try {
        switch (step(rule)) {
            case Outcome::Stepped:
                if (rule.browses && f_.v.AutoOn) {
                    browse();
                }
                break;
            case Outcome::AtBound:
                stopAtBound(rule);
                break;
            case Outcome::NotAboveZero:
                break;
        }
    } catch (const Failure&) {
        switch (rule.onFailure) {
            case FailureReport::ShortLine:
                s_.messageBox.show(kError06Short, kExclamationOk, kError06Title);
                break;
            case FailureReport::LongLine:
                s_.messageBox.show(kError06Long, kExclamationOk, kError06Title);
                break;
            case FailureReport::StopRepeat:
                before->restore(f_);
                (f_.*rule.repeat).setEnabled(false);
                break;
        }
    }
}

StepFamily::Outcome StepFamily::step(const Rule& rule) {
    Form1Variables& v = f_.v;
    if (rule.direction < 0 && value(f_.txtNo) <= 0) {
        return Outcome::NotAboveZero;
    }
    v.NoLen = width(rule);
    if (rule.width == WidthRule::NumberTextIntoPickLen) {
        v.PickLen = v.NoLen;
    }
    const bool limited = v.LimitOn && (rule.limiter == LimiterScope::BothModes || !v.PickMode);
    // Both operands of every bound comparison are converted whether or not
    // the limiter is on, so a bound that is not a number fails every step.
    if (rule.direction > 0) {
        if (value(f_.txtLimL) > value(f_.txtNo) && limited) {
            // Catch up to just below the lower bound; the step below reaches it.
            f_.txtNo.setText(number::plainDecimal(value(f_.txtLimL) - 1));
        }
        if (value(f_.txtLimH) <= value(f_.txtNo) && limited) {
            f_.txtNo.setText(f_.txtLimH.text());
            return Outcome::AtBound;
        }
    } else if (value(f_.txtLimL) >= value(f_.txtNo) && limited) {
        return Outcome::AtBound;
    }
    f_.lblNoo.setText(number::plainDecimal(value(f_.txtNo) + rule.direction));
    v.buildZeroMask();
    f_.txtNo.setText(number::formatWithMask(f_.lblNoo.text(), v.ZeroMask));
    return Outcome::Stepped;
}

std::int16_t StepFamily::width(const Rule& rule) {
    const Form1Variables& v = f_.v;
    switch (rule.width) {
        case WidthRule::PickLenWhenPicked:
            return v.PickMode ? v.PickLen : lengthOf(f_.txtLimL);
        case WidthRule::NumberTextWhenPicked:
            return lengthOf(v.PickMode ? f_.txtNo : f_.txtLimL);
        case WidthRule::NumberTextIntoPickLen:
            break;
    }
    return lengthOf(f_.txtNo);
}

void StepFamily::stopAtBound(const Rule& rule) {
    // The repeat stops before the message, so no further tick runs while it is open.
    if (rule.repeat != nullptr) {
        (f_.*rule.repeat).setEnabled(false);
    }
    s_.messageBox.show(kLimiterPrompt, kExclamationOk, kLimiterTitle);
}

void StepFamily::browse() {
    if (f_.v.PickMode) {
        nav_.BrowsePickedUrl();
    } else {
        nav_.BrowseBracketUrl();
    }
}

}  // namespace kazunavi
