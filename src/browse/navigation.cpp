#include "browse/navigation.h"

#include <algorithm>
#include <string>
#include <string_view>

#include "browse/browser_step.h"
#include "platform/failure.h"
#include "shell/model/form1.h"
#include "shell/model/palette.h"
#include "shell/model/text.h"

namespace kazunavi {

namespace {

constexpr Colour kLampBusy = palette::kYellow;
constexpr Colour kLampIdle = palette::kBlack;

// Every address composed from a caught text goes out over the secure scheme
// when the text asks for it, also with its first letter left off as such
// addresses are often passed around; over plain http otherwise.
std::u16string_view schemeFor(std::u16string_view caught) {
    const auto asks = [caught](std::u16string_view secure) {
        return caught.size() >= secure.size() &&
               std::equal(secure.begin(), secure.end(), caught.begin(), [](char16_t s, char16_t c) {
                   return s == (c >= u'A' && c <= u'Z' ? c - u'A' + u'a' : c);
               });
    };
    return asks(u"https://") || asks(u"ttps://") ? u"https://" : u"http://";
}

// The lamp burns yellow while a routine works and is black again whichever
// way the routine ends.
class LitLamp {
  public:
    explicit LitLamp(Element& lamp) : lamp_(lamp) { lamp_.setFillColor(kLampBusy); }
    ~LitLamp() { lamp_.setFillColor(kLampIdle); }
    LitLamp(const LitLamp&) = delete;
    LitLamp& operator=(const LitLamp&) = delete;

  private:
    Element& lamp_;
};

std::u16string joined(std::u16string_view a, std::u16string_view b, std::u16string_view c = {},
                      std::u16string_view d = {}) {
    std::u16string out;
    out.append(a).append(b).append(c).append(d);
    return out;
}

// What follows the keyword in s: its last |s| - KeyPos - |K| + 1 characters,
// counted with the keyword as it stands now. A negative count fails.
std::u16string afterKeyword(std::u16string_view s, const Form1& f) {
    const long long count = static_cast<long long>(text::length(s)) - f.v.KeyPos -
                            text::length(f.txtKeyWord.text()) + 1;
    return text::right(s, count);
}

// A new address ends the picked-number mode and with it the stepping controls.
void leavePickedMode(Form1& f) {
    if (!f.v.PickMode) {
        return;
    }
    f.Label1.setEnabled(false);
    f.UPbutton.setEnabled(false);
    f.DWNbutton.setEnabled(false);
    f.v.PickMode = false;
}

}  // namespace

void Navigator::wire(EventTable& events) {
    events.on("Command10", Event::Click, [this](int) { Command10_Click(); });
    events.on("Command2", Event::Click, [this](int) { Command2_Click(); });
    events.on("Command5", Event::Click, [this](int) { Command5_Click(); });
}

void Navigator::BrowseCurrentUrl() {
    f_.lblURL.setText(f_.lblCripDirect.sharedToolTipText());
    LitLamp lamp(f_.Sh1);
    std::u16string tail = afterKeyword(f_.lblURL.text(), f_);
    if (tail == f_.lblURLright.text()) {
        return;  // this address has been handled already
    }
    f_.lblURLright.setText(std::move(tail));
    f_.txtNow.setText(joined(schemeFor(f_.lblURL.text()), f_.lblURLright.text()));
    if (!f_.v.AutoOn) {
        return;
    }
    if (browseOrReport(s_, f_.txtNow.text())) {
        leavePickedMode(f_);
    }
}

void Navigator::BrowseBracketUrl() {
    f_.Label1.setEnabled(true);
    f_.UPbutton.setEnabled(true);
    f_.DWNbutton.setEnabled(true);
    const std::u16string& caught = f_.lblCripDirect.toolTipText();
    f_.lblURLright.setText(afterKeyword(caught, f_));
    f_.txtNow.setText(joined(schemeFor(caught), f_.lblURLright.text()));
    if (!f_.v.findBrackets(caught)) {
        return;  // no bracket pair: the address stands as it is, nothing is sent
    }
    f_.lblB.setText(
        text::right(caught, static_cast<long long>(text::length(caught)) - f_.v.BrkRPos));
    f_.lblF.setText(text::left(caught, f_.v.BrkLPos - 1LL));
    f_.lblF.setText(afterKeyword(f_.lblF.text(), f_));
    f_.txtNow.setText(joined(f_.lblF.text(), f_.txtNo.text(), f_.lblB.text()));
    browseOrReport(s_, joined(schemeFor(caught), f_.txtNow.text()));
    f_.Sh1.setFillColor(kLampIdle);
}

void Navigator::BrowsePickedUrl() {
    f_.Label1.setEnabled(false);
    f_.UPbutton.setEnabled(true);
    f_.DWNbutton.setEnabled(true);
    const std::u16string& caught = f_.lblCripDirect.toolTipText();
    const std::u16string_view scheme = schemeFor(caught);
    f_.lblB.setText(f_.lblSTR.text());
    f_.lblF.setText(afterKeyword(caught, f_));
    // What stands between the keyword and the picked number.
    f_.lblF.setText(
        text::left(f_.lblF.text(), static_cast<long long>(text::length(f_.lblF.text())) -
                                       f_.v.PickLen - text::length(f_.lblB.text())));
    f_.txtNow.setText(joined(f_.lblF.text(), f_.txtNo.text(), f_.lblB.text()));
    if (!browseOrReport(s_, joined(scheme, f_.lblF.text(), f_.txtNo.text(), f_.lblB.text()))) {
        return;
    }
    f_.txtNow.setText(joined(scheme, f_.lblF.text(), f_.txtNo.text(), f_.lblB.text()));
    f_.Sh1.setFillColor(kLampIdle);
}

void Navigator::Command10_Click() {
    if (!browseOrReport(s_, f_.txtNow.text())) {
        f_.Sh1.setFillColor(kLampIdle);
    }
}

void Navigator::Command2_Click() {
    try {
        const int selected = f_.List1.listIndex();
        if (selected < 0) {
            return;  // nothing chosen in the keep list: no browser window at all
        }
        s_.browser.navigate(f_.List2.list(selected));
    } catch (const Failure&) {
        // BROWSE reports nothing.
    }
}

void Navigator::Command5_Click() {
    try {
        const std::u16string& addText = f_.Text2.text();
        if (text::left(f_.txtNow.text(), text::length(addText)) == addText) {
            return;  // the address already begins with the add-text
        }
        LitLamp lamp(f_.Sh1);
        f_.txtNow.setText(joined(addText, f_.lblCripDirect.toolTipText()));
        s_.clipboard.clear();
        s_.clipboard.setText(f_.txtNow.text());
        if (f_.v.AutoOn) {
            s_.browser.navigate(f_.txtNow.text());
            leavePickedMode(f_);
        }
    } catch (const Failure&) {
        // ADD reports nothing; the clipboard and txtNow keep what they were given.
    }
}

}  // namespace kazunavi
