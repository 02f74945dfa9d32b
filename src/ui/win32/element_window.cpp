#include "ui/win32/element_window.h"

#include <windows.h>

#include <commctrl.h>

#include <algorithm>

#include "ui/win32/painting.h"

namespace kazunavi {

namespace {

std::wstring wide(std::u16string_view text) {
    return {text.begin(), text.end()};
}

std::u16string textOf(HWND control) {
    std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(control)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        ::GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
    return {text.begin(), text.end()};
}

// The open list of a drop-down list shows this many items.
constexpr int kListRows = 8;

}  // namespace

ElementWindow::ElementWindow(Element& element, ViewKind kind, std::string target, HWND surface,
                             HWND control)
    : ElementSync(element),
      kind_(kind),
      target_(std::move(target)),
      surface_(surface),
      control_(control),
      toolId_(reinterpret_cast<UINT_PTR>(this)),
      solidFill_(isSolidFill(element)) {
    if (kind_ == ViewKind::Shape) {
        shown_.fill = ~element.fillColor();
    }
    if (kind_ == ViewKind::TextBox || kind_ == ViewKind::Memo) {
        shown_.text = u"\uFFFF";  // differs from any start text
    }
    if (kind_ == ViewKind::DropDownList) {
        shown_.listIndex = -2;
    }
}

RECT ElementWindow::rect() const {
    return {place_.left, place_.top, place_.left + place_.width, place_.top + place_.height};
}

void ElementWindow::invalidate() {
    if (control_ != nullptr) {
        ::InvalidateRect(control_, nullptr, TRUE);
        return;
    }
    RECT area = rect();
    ::InflateRect(&area, 1, 1);
    ::InvalidateRect(surface_, &area, FALSE);
}

void ElementWindow::place(int dpi) {
    invalidate();  // where it was
    const Geometry& g = shown_.geometry;
    if (kind_ == ViewKind::Line) {
        // The line runs from (left, top) to (width, height); its place is the
        // box around it, one pixel wider so that the end point shows.
        from_ = {pixels(g.left, dpi), pixels(g.top, dpi)};
        to_ = {pixels(g.width, dpi), pixels(g.height, dpi)};
        place_ = {std::min(from_.x, to_.x), std::min(from_.y, to_.y), std::abs(to_.x - from_.x) + 1,
                  std::abs(to_.y - from_.y) + 1};
    } else {
        place_ = pixelRect(g, dpi);
    }
    if (control_ != nullptr) {
        int height = place_.height;
        if (kind_ == ViewKind::DropDownList) {
            // The field keeps the design's height; the window holds the open list too.
            ::SendMessageW(control_, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1),
                           std::max(1, place_.height - 6));
            height += kListRows * std::max(1, place_.height - 6);
        }
        ::MoveWindow(control_, place_.left, place_.top, place_.width, height, TRUE);
    }
    invalidate();  // where it is
}

void ElementWindow::relayout(int dpi, FontBook& fonts) {
    if (!attached_) {
        return;
    }
    font_ = fonts.font(element_.font, dpi);
    narrowFont_ = kind_ == ViewKind::Label ? fonts.font(element_.font, dpi, true) : nullptr;
    if (control_ != nullptr) {
        ::SendMessageW(control_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    }
    place(dpi);
}

void ElementWindow::syncToolTip(HWND tooltips) {
    if (tooltips == nullptr || (!toolAdded_ && shown_.toolTip.empty())) {
        return;
    }
    std::wstring text = wide(shown_.toolTip);
    TOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.hwnd = control_ != nullptr ? ::GetParent(control_) : surface_;
    tool.uFlags = TTF_SUBCLASS | (control_ != nullptr ? TTF_IDISHWND : 0);
    tool.uId = control_ != nullptr ? reinterpret_cast<UINT_PTR>(control_) : toolId_;
    tool.rect = rect();
    tool.lpszText = text.data();
    ::SendMessageW(tooltips, toolAdded_ ? TTM_UPDATETIPTEXTW : TTM_ADDTOOLW, 0,
                   reinterpret_cast<LPARAM>(&tool));
    toolAdded_ = true;
}

bool ElementWindow::sync(int dpi, HWND tooltips) {
    const CommonChanges common = syncCommonState();
    if (!attached_) {
        return false;
    }
    bool changed = common.any();
    if (common.geometry) {
        place(dpi);
        if (toolAdded_ && control_ == nullptr) {
            TOOLINFOW tool{};
            tool.cbSize = sizeof(tool);
            tool.hwnd = surface_;
            tool.uId = toolId_;
            tool.rect = rect();
            ::SendMessageW(tooltips, TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&tool));
        }
    }
    if (common.enabled || common.visible) {
        if (control_ != nullptr) {
            ::EnableWindow(control_, shown_.enabled);
            ::ShowWindow(control_, shown_.visible ? SW_SHOWNA : SW_HIDE);
        }
        invalidate();
    }
    if (common.toolTip) {
        syncToolTip(tooltips);
    }
    switch (kind_) {
        case ViewKind::Label:
        case ViewKind::Button:
            if (syncCaption()) {
                invalidate();
                changed = true;
            }
            break;
        case ViewKind::Panel:
            if (element_.backColor() != shown_.back) {
                shown_.back = element_.backColor();
                invalidate();
                changed = true;
            }
            break;
        case ViewKind::Shape:
            if (element_.fillColor() != shown_.fill) {
                shown_.fill = element_.fillColor();
                invalidate();
                changed = true;
            }
            break;
        case ViewKind::TextBox:
        case ViewKind::Memo: {
            if (syncFieldColours()) {
                invalidate();
                changed = true;
            }
            const TextChange change = syncTextBox();
            if (change.selection) {
                applying_ = true;
                if (change.text) {
                    ::SetWindowTextW(control_, wide(shown_.text).c_str());
                }
                const auto [start, length] = shownSelection();
                ::SendMessageW(control_, EM_SETSEL, static_cast<WPARAM>(start),
                               static_cast<LPARAM>(start + length));
                applying_ = false;
                changed = true;
            }
            break;
        }
        case ViewKind::DropDownList: {
            if (syncFieldColours()) {
                invalidate();
                changed = true;
            }
            const ListChange change = syncList();
            if (change.items) {
                ::SendMessageW(control_, CB_RESETCONTENT, 0, 0);
                for (const std::u16string& item : shown_.items) {
                    const std::wstring text = wide(item);
                    ::SendMessageW(control_, CB_ADDSTRING, 0,
                                   reinterpret_cast<LPARAM>(text.c_str()));
                }
            }
            if (change.index) {
                ::SendMessageW(control_, CB_SETCURSEL, static_cast<WPARAM>(shown_.listIndex), 0);
            }
            changed = change.items || change.index || changed;
            break;
        }
        case ViewKind::Line:
        case ViewKind::None:
            break;
    }
    return changed;
}

void ElementWindow::pullText() {
    if (applying_ || !attached_) {
        return;
    }
    DWORD start = 0;
    DWORD end = 0;
    ::SendMessageW(control_, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                   reinterpret_cast<LPARAM>(&end));
    pullTextBox(textOf(control_), static_cast<int>(start), static_cast<int>(end - start));
}

void ElementWindow::pullSelection() {
    if (applying_ || !attached_ || kind_ != ViewKind::TextBox) {
        return;
    }
    DWORD start = 0;
    DWORD end = 0;
    ::SendMessageW(control_, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                   reinterpret_cast<LPARAM>(&end));
    if (static_cast<int>(start) != shown_.selStart ||
        static_cast<int>(end - start) != shown_.selLength) {
        pullTextBox(shown_.text, static_cast<int>(start), static_cast<int>(end - start));
    }
}

void ElementWindow::pullListIndex() {
    if (!attached_) {
        return;
    }
    const auto index = static_cast<int>(::SendMessageW(control_, CB_GETCURSEL, 0, 0));
    element_.setListIndex(index);
    shown_.listIndex = element_.listIndex();
    shown_.text = element_.text();
}

}  // namespace kazunavi
