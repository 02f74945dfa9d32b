#include "keep/capture.h"

#include <string_view>

#include "keep/keep_list.h"
#include "platform/failure.h"
#include "shell/model/form1.h"
#include "shell/model/text.h"

namespace kazunavi {

namespace {

// Addresses of both web schemes begin with these letters, in this case.
constexpr std::u16string_view kWebScheme = u"http";

int titleSuffix(const BrowserWindow& window) {
    const auto known = window.titleSuffixLength;
    return known && *known >= 0 ? *known : BrowserCapture::kDefaultTitleSuffix;
}

}  // namespace

void BrowserCapture::wire(EventTable& events) {
    events.on("timGETURL", Event::Timer, [this](int) { timGETURL_Timer(); });
    events.on("Command3", Event::Click, [this](int) { Command3_Click(); });
}

std::u16string BrowserCapture::handleText(WindowHandle handle) {
    constexpr std::u16string_view kDigits = u"0123456789ABCDEF";
    std::u16string digits;
    do {
        digits.insert(digits.begin(), kDigits[handle % 16]);
        handle /= 16;
    } while (handle != 0);
    return u"&H" + digits;
}

void BrowserCapture::timGETURL_Timer() {
    try {
        const WindowHandle front = s_.windowManager.foregroundWindow();
        f_.lAWH.setText(handleText(front));
        for (const BrowserWindow& window : s_.browserWindows.list()) {
            if (window.handle != front) {
                continue;
            }
            if (text::left(window.locationUrl, kWebScheme.size()) != kWebScheme) {
                // A folder, a blank page: nothing that could be kept.
                f_.lURL.setText(u"");
                f_.lTTL.setText(u"");
                return;
            }
            const std::u16string title =
                s_.windowManager.windowText(front, WindowManager::kTitleBufferSize);
            // A title shorter than the browser's own suffix fails here and
            // leaves both labels as they were.
            f_.lTTL.setText(text::left(title, text::length(title) - 1LL * titleSuffix(window)));
            f_.lURL.setText(window.locationUrl);
        }
    } catch (const Failure&) {
        // The next tick starts afresh.
    }
}

void BrowserCapture::Command3_Click() {
    try {
        if (f_.lURL.text().empty()) {
            s_.messageBox.show(
                u"URLが取得できません。\r\n"
                u"KeepするIEのウィンドウをアクティブにした後\r\n"
                u"もう一度[KEEP]ボタンを押して下さい。",
                kExclamationOk, u"Kazunavi\u3000Erro\uFF52_07");
            return;
        }
        const std::u16string& name = f_.Text1.text().empty() ? f_.lTTL.text() : f_.Text1.text();
        keepList_.AddKeepEntry(name, f_.lURL.text());
        f_.Text1.setText(u"");
    } catch (const Failure&) {
    }
}

}  // namespace kazunavi
