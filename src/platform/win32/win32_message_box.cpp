#include "platform/win32/win32_message_box.h"

#include <algorithm>
#include <cstdlib>
#include <cwchar>
#include <memory>
#include <string>
#include <vector>

#include "platform/failure.h"
#include "platform/win32/wide_text.h"

namespace kazunavi {

namespace {

// The width the title of a box needs: its text in the caption font made half
// as large again (a window manager that draws the title, as under Wine, uses
// a face of its own, commonly larger), and an icon and three buttons of the
// caption's size with a margin on either side.
int titleWidth(HWND box) {
    std::wstring title(static_cast<std::size_t>(::GetWindowTextLengthW(box)) + 1, L'\0');
    title.resize(static_cast<std::size_t>(
        ::GetWindowTextW(box, title.data(), static_cast<int>(title.size()))));
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    if (title.empty() ||
        ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0) == 0) {
        return 0;
    }
    metrics.lfCaptionFont.lfHeight = metrics.lfCaptionFont.lfHeight * 3 / 2;
    metrics.lfCaptionFont.lfWidth = 0;
    const std::unique_ptr<HDC__, decltype([](HDC dc) { ::ReleaseDC(nullptr, dc); })> screen(
        ::GetDC(nullptr));
    const std::unique_ptr<HFONT__, decltype([](HFONT font) { ::DeleteObject(font); })> font(
        ::CreateFontIndirectW(&metrics.lfCaptionFont));
    if (!screen || !font) {
        return 0;
    }
    const HGDIOBJ old = ::SelectObject(screen.get(), font.get());
    SIZE text{};
    ::GetTextExtentPoint32W(screen.get(), title.data(), static_cast<int>(title.size()), &text);
    // A character the caption font lacks (Japanese, in a Western one) is
    // drawn by the window manager from another face, a square em wide.
    std::vector<WORD> glyphs(title.size());
    if (::GetGlyphIndicesW(screen.get(), title.data(), static_cast<int>(title.size()),
                           glyphs.data(), GGI_MARK_NONEXISTING_GLYPHS) != GDI_ERROR) {
        text.cx += std::abs(metrics.lfCaptionFont.lfHeight) *
                   std::count(glyphs.begin(), glyphs.end(), WORD{0xFFFF});
    }
    ::SelectObject(screen.get(), old);
    const int button = std::max(metrics.iCaptionWidth, metrics.iCaptionHeight);
    return static_cast<int>(text.cx) + 4 * button + 2 * ::GetSystemMetrics(SM_CXFRAME) +
           2 * metrics.iCaptionHeight;
}

// Windows sizes a message box for its text, and a window manager that draws
// the title in a face of its own (Wine's) cuts a long title ("Kazuna...").
// Once the box has laid itself out it is widened to the width of its title;
// its buttons move with the right edge, or half as far where they stand
// about centred.
void widenToTitle(HWND box) {
    RECT frame{};
    RECT client{};
    ::GetWindowRect(box, &frame);
    ::GetClientRect(box, &client);
    const int grow = titleWidth(box) - static_cast<int>(frame.right - frame.left);
    if (grow <= 0) {
        return;
    }
    for (HWND child = ::GetWindow(box, GW_CHILD); child != nullptr;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        wchar_t kind[8]{};
        RECT place{};
        if (::GetClassNameW(child, kind, 8) == 0 || std::wcscmp(kind, L"Button") != 0 ||
            !::GetWindowRect(child, &place)) {
            continue;
        }
        ::MapWindowPoints(nullptr, box, reinterpret_cast<POINT*>(&place), 2);
        const LONG before = place.left - client.left;
        const LONG after = client.right - place.right;
        const int shift = std::abs(before - after) * 2 <= std::max(before, after) ? grow / 2 : grow;
        ::SetWindowPos(child, nullptr, place.left + shift, place.top, 0, 0,
                       SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    ::SetWindowPos(box, nullptr, frame.left - grow / 2, frame.top, frame.right - frame.left + grow,
                   frame.bottom - frame.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT CALLBACK afterWindowProcedure(int code, WPARAM wParam, LPARAM lParam) {
    const auto* call = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    wchar_t kind[8]{};
    if (code == HC_ACTION && call->message == WM_INITDIALOG &&
        ::GetClassNameW(call->hwnd, kind, 8) > 0 && std::wcscmp(kind, L"#32770") == 0) {
        widenToTitle(call->hwnd);
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

// The hook of this thread's windows while a box is open.
class TitleRoom {
  public:
    TitleRoom()
        : hook_(::SetWindowsHookExW(WH_CALLWNDPROCRET, afterWindowProcedure, nullptr,
                                    ::GetCurrentThreadId())) {}
    TitleRoom(const TitleRoom&) = delete;
    TitleRoom& operator=(const TitleRoom&) = delete;
    ~TitleRoom() {
        if (hook_ != nullptr) {
            ::UnhookWindowsHookEx(hook_);
        }
    }

  private:
    HHOOK hook_;
};

}  // namespace

static_assert(kOkCancel == MB_OKCANCEL && kExclamationOk == (MB_ICONEXCLAMATION | MB_OK));
static_assert(kAnswerOk == IDOK && kAnswerCancel == IDCANCEL);

int Win32MessageBox::show(std::u16string_view prompt, int style, std::u16string_view title) {
    if (beforeShow_) {
        beforeShow_();
    }
    const TitleRoom room;
    const int answer =
        ::MessageBoxW(owner_ ? owner_() : nullptr, toWide(prompt).c_str(), toWide(title).c_str(),
                      static_cast<UINT>(style) | MB_SETFOREGROUND);
    if (answer == 0) {
        throw Failure("message box: cannot show it: " + errorText(::GetLastError()));
    }
    return answer;
}

}  // namespace kazunavi
