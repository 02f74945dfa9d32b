#include "browse/clipboard_watcher.h"

#include <string>

#include "platform/failure.h"
#include "shell/model/address_browsing.h"
#include "shell/model/form1.h"
#include "shell/model/number_text.h"
#include "shell/model/palette.h"
#include "shell/model/text.h"

namespace kazunavi {

namespace {

constexpr Colour kHoldsText = palette::kGreen;
constexpr Colour kNoText = palette::kSlate;
// Far longer than any address; such a text is the rare big copy.
constexpr std::size_t kLongText = 65536;

// n / 2 rounded to the nearest whole number, a half going to the even
// neighbour (1/2 gives 0, 3/2 gives 2, -1/2 gives 0).
long long halfRoundedToEven(long long n) {
    const long long down = n >= 0 ? n / 2 : -((1 - n) / 2);  // floor(n / 2)
    if (n % 2 == 0 || down % 2 == 0) {
        return down;
    }
    return down + 1;
}

}  // namespace

void ClipboardWatcher::wire(EventTable& events) {
    events.on("timCrip", Event::Timer, [this](int) { timCrip_Timer(); });
    events.on("lblAccess", Event::Click, [this](int) { lblAccess_Click(); });
}

void ClipboardWatcher::timCrip_Timer() {
    try {
        if (!s_.clipboard.hasText()) {
            showWaiting();
            return;
        }
        f_.txtNow.setEnabled(true);
        f_.Label2.setEnabled(true);
        f_.Label3.setEnabled(true);
        f_.lblCripDirect.setToolTipText(s_.clipboard.text());
        f_.lblCripDirect.setForeColor(kHoldsText);
        f_.Command5.setEnabled(true);
        if (seenAlready(f_.lblCripDirect.sharedToolTipText())) {
            return;
        }
        takeNewText();
    } catch (const Failure&) {
        // Forget the text so that the next tick examines it again.
        forgetOldText();
    }
}

bool ClipboardWatcher::seenAlready(const SharedText& caught) {
    if (!oldLongText_) {
        return caught == f_.lblOldURL.sharedText();
    }
    if (!oldLongText_->matches(caught.get())) {
        return false;
    }
    // The long text is back: hold it whole again while the clipboard does.
    f_.lblOldURL.setText(caught);
    oldLongText_.reset();
    return true;
}

void ClipboardWatcher::forgetOldText() {
    f_.lblOldURL.setText(u"");
    oldLongText_.reset();
}

void ClipboardWatcher::showWaiting() {
    f_.txtNow.setText(u"     - 待機中 -");
    f_.txtNow.setEnabled(false);
    f_.Label2.setEnabled(false);
    f_.Label3.setEnabled(false);
    f_.lblCripDirect.setToolTipText(u"");
    f_.lblCripDirect.setForeColor(kNoText);
    f_.Command5.setEnabled(false);
    f_.lblCUT.setEnabled(false);
    // A long text gone from the clipboard is remembered by its fingerprint
    // only, so that its memory goes back to the system.
    if (f_.lblOldURL.text().size() > kLongText) {
        oldLongText_.emplace(f_.lblOldURL.text());
        f_.lblOldURL.setText(u"");
    }
}

void ClipboardWatcher::takeNewText() {
    const std::u16string& caught = f_.lblCripDirect.toolTipText();
    oldLongText_.reset();
    f_.lblOldURL.setText(f_.lblCripDirect.sharedToolTipText());
    f_.txtNow.setText(f_.lblCripDirect.sharedToolTipText());
    f_.v.KeyPos = text::find(caught, f_.txtKeyWord.text());
    if (f_.v.KeyPos == 0) {
        takePlainText();
        return;
    }
    f_.lblCUT.setEnabled(true);
    f_.v.CripHit = true;
    f_.Command10.setEnabled(true);
    f_.txtNo.setEnabled(true);
    if (f_.v.PickMode) {
        f_.UPbutton.setEnabled(true);
        f_.DWNbutton.setEnabled(true);
    }
    if (f_.v.findBrackets(caught)) {
        takeTemplate();
    } else {
        takeAddress();
    }
}

// A text without the keyword: nothing to pick, step or browse.
void ClipboardWatcher::takePlainText() {
    f_.lblCUT.setEnabled(false);
    f_.Label1.setEnabled(false);
    f_.v.CripHit = false;
    f_.Command10.setEnabled(false);
    f_.txtNo.setText(u"0");
    f_.txtNo.setEnabled(false);
    f_.UPbutton.setEnabled(false);
    f_.DWNbutton.setEnabled(false);
    f_.v.PickMode = false;
}

// An address with a bracketed range such as [001-120]: its two numbers
// become the bounds, their width the width of the running number.
void ClipboardWatcher::takeTemplate() {
    f_.Label1.setEnabled(true);
    f_.lbl.setEnabled(true);
    // Two numbers of one width w span 2w + 2 positions from "[" to "]".
    const long long distance = static_cast<long long>(f_.v.BrkRPos) - f_.v.BrkLPos;
    if (distance % 2 != 0) {
        s_.beeper.beep();
        s_.messageBox.show(
            u"桁数の違う連番ＵＲＬを指定していませんか？\r\n"
            u"対応できない例：\u3000[0-20]\r\n"
            u"このまま実行可能ですが、エラーになる可能性があります。",
            kExclamationOk, u"Kazunavi Error_04");
    }
    f_.lblNO.setText(text::mid(f_.lblCripDirect.toolTipText(), f_.v.BrkLPos + 1LL,
                               static_cast<long long>(f_.v.BrkRPos) - f_.v.BrkLPos - 1));
    // The middle character separates the two numbers and is dropped.
    const std::u16string& inner = f_.lblNO.text();
    const long long half = halfRoundedToEven(text::length(inner) - 1LL);
    f_.txtLimH.setText(text::right(inner, half));
    f_.txtLimL.setText(text::left(inner, half));
    f_.v.NoLen = number::toInt16(text::length(f_.txtLimL.text()));
    f_.v.buildZeroMask();
    f_.txtNo.setText(number::formatWithMask(f_.txtNo.text(), f_.v.ZeroMask));
    // A new template is not browsed by itself, also with AUTO on: "[SET]" and
    // the steps send its addresses, and a number picked before stays picked.
}

void ClipboardWatcher::takeAddress() {
    f_.txtLimH.setText(u"0");
    f_.txtLimL.setText(u"0");
    f_.lblNO.setText(u"0");
    f_.lbl.setEnabled(false);
    if (!f_.v.PickMode) {
        f_.UPbutton.setEnabled(false);
        f_.DWNbutton.setEnabled(false);
        f_.Label1.setEnabled(false);
        f_.cmdUP.setEnabled(false);
        f_.Command1.setEnabled(false);
        f_.txtNo.setEnabled(false);
    }
    navigator_.BrowseCurrentUrl();
}

void ClipboardWatcher::lblAccess_Click() {
    f_.lblURLright.setText(u"");
    forgetOldText();
    f_.txtNow.setText(u"");
    try {
        s_.clipboard.clear();
    } catch (const Failure&) {
        // Another program holds the clipboard: the watcher has forgotten its
        // text all the same, and the clipboard is left as it is.
    }
}

}  // namespace kazunavi
