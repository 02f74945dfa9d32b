// The messages of a window's surfaces and of its controls: painting, the
// mouse on the bare surfaces and the painted labels, what the controls
// report, their colours, the close box and a change of screen density.

#include <windows.h>

#include <commctrl.h>
#include <windowsx.h>

#include "platform/failure.h"
#include "ui/win32/form_window.h"

namespace kazunavi {

namespace {

int buttonState(WPARAM keys) {
    return ((keys & MK_LBUTTON) ? 1 : 0) | ((keys & MK_RBUTTON) ? 2 : 0) |
           ((keys & MK_MBUTTON) ? 4 : 0);
}

int buttonOf(UINT message) {
    switch (message) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
            return 1;
        case WM_RBUTTONDOWN:
        case WM_RBUTTONUP:
            return 2;
        default:
            return 4;
    }
}

}  // namespace

LRESULT CALLBACK FormWindow::surfaceProcedure(HWND window, UINT message, WPARAM wParam,
                                              LPARAM lParam) {
    auto* form = reinterpret_cast<FormWindow*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (form != nullptr) {
        if (Surface* surface = form->surfaceOf(window)) {
            return form->handle(*surface, message, wParam, lParam);
        }
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

LRESULT FormWindow::handle(Surface& surface, UINT message, WPARAM wParam, LPARAM lParam) {
    const HWND window = surface.window;
    switch (message) {
        case WM_PAINT:
            paint(surface);
            return 0;
        case WM_ERASEBKGND:
            return 1;  // the painting covers everything
        case WM_MOUSEMOVE:
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
        case WM_RBUTTONDOWN:
        case WM_RBUTTONUP:
        case WM_MBUTTONDOWN:
        case WM_MBUTTONUP:
            mouse(surface, message, wParam, lParam);
            return 0;
        case WM_COMMAND:
            if (auto result = command(wParam, lParam)) {
                return *result;
            }
            break;
        case WM_DRAWITEM: {
            const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            if (const ElementWindow* view = viewOf(item->hwndItem)) {
                drawButton(*item, view->shown(), view->font());
                return TRUE;
            }
            break;
        }
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORLISTBOX:
            if (auto brush =
                    colours(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam))) {
                return *brush;
            }
            break;
        case WM_CLOSE:
            if (closeRequested_) {
                closeRequested_();  // the window goes through the program's own unload path
            }
            return 0;
        case WM_DPICHANGED:
            dpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
            return 0;
        default:
            break;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

std::optional<LRESULT> FormWindow::command(WPARAM wParam, LPARAM lParam) {
    ElementWindow* view = viewOf(reinterpret_cast<HWND>(lParam));
    if (view == nullptr || !view->attached()) {
        return std::nullopt;
    }
    switch (HIWORD(wParam)) {
        case BN_CLICKED:
            if (view->kind() == ViewKind::Button) {
                // The mouse-up procedure may have disabled the button: a
                // disabled element receives nothing more.
                if (view->element().enabled()) {
                    send(view->target(), Event::Click, 0);
                }
                return 0;
            }
            break;
        case EN_CHANGE:
            view->pullText();
            return 0;
        case CBN_SELCHANGE:
            view->pullListIndex();
            return 0;
        default:
            break;
    }
    return std::nullopt;
}

std::optional<LRESULT> FormWindow::colours(HDC dc, HWND control) {
    const ElementWindow* field = viewOf(control);
    for (const auto& view : views_) {
        COMBOBOXINFO combo{};
        combo.cbSize = sizeof(combo);
        if (field == nullptr && view->kind() == ViewKind::DropDownList &&
            ::GetComboBoxInfo(view->control(), &combo) &&
            (combo.hwndList == control || combo.hwndItem == control)) {
            field = view.get();
        }
    }
    if (field == nullptr ||
        (field->kind() != ViewKind::TextBox && field->kind() != ViewKind::Memo &&
         field->kind() != ViewKind::DropDownList)) {
        return std::nullopt;
    }
    const Shown& shown = field->shown();
    const Colour back = shown.back.value_or(0xFFFFFF);
    ::SetTextColor(dc, !shown.enabled ? ::GetSysColor(COLOR_GRAYTEXT)
                       : shown.fore   ? colorOf(*shown.fore)
                                      : ::GetSysColor(COLOR_WINDOWTEXT));
    ::SetBkColor(dc, colorOf(back));
    return reinterpret_cast<LRESULT>(brushes_.brush(back));
}

void FormWindow::paint(Surface& surface) {
    BufferedPaint painting(surface.window);
    const HDC dc = painting.dc();
    const RECT& area = painting.area();
    const std::optional<Colour> back = surface.panel ? surface.panel->shown().back : std::nullopt;
    ::SetBkColor(dc, back ? colorOf(*back) : ::GetSysColor(COLOR_BTNFACE));
    ::ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &area, nullptr, 0, nullptr);
    if (surface.picture != nullptr) {
        drawPicture(dc, area, *surface.picture);
    }
    // Labels, shapes and lines in the order of the inventory: a later one
    // lies above an earlier one.
    for (const auto& view : views_) {
        if (view->surface() != surface.window || view->control() != nullptr ||
            !view->shownVisible()) {
            continue;
        }
        switch (view->kind()) {
            case ViewKind::Label:
                drawLabel(dc, view->rect(), view->design(), view->shown(), view->font(),
                          view->narrowFont());
                break;
            case ViewKind::Shape:
                drawShape(dc, view->rect(), view->design(), view->shown().fill, view->solidFill());
                break;
            case ViewKind::Line:
                drawLine(dc, view->lineFrom(), view->lineTo(), view->design());
                break;
            default:
                break;
        }
    }
}

void FormWindow::mouse(Surface& surface, UINT message, WPARAM wParam, LPARAM lParam) {
    const int x = GET_X_LPARAM(lParam);
    const int y = GET_Y_LPARAM(lParam);
    // The topmost enabled label under the pointer, else the bare surface.
    std::string target = surface.target;
    RECT area{};
    ::GetClientRect(surface.window, &area);
    for (auto view = views_.rbegin(); view != views_.rend(); ++view) {
        const ElementWindow& v = **view;
        if (v.kind() == ViewKind::Label && v.surface() == surface.window && v.shownVisible() &&
            v.shownEnabled() && v.place().contains(x, y)) {
            target = v.target();
            area = v.rect();
            break;
        }
    }
    // The press holds the mouse until the button is up, also where the
    // capture went elsewhere meanwhile (the window's activation); after the
    // move loop, which takes the release, the next move lets it go.
    if (message == WM_MOUSEMOVE && (wParam & MK_LBUTTON) == 0) {
        pressed_.clear();
    }
    const bool held = !pressed_.empty() && pressedSurface_ == surface.window;
    switch (message) {
        case WM_MOUSEMOVE:
            send(held ? pressed_ : target, Event::MouseMove, buttonState(wParam));
            return;
        case WM_LBUTTONDOWN:
            pressed_ = target;
            pressedArea_ = area;
            pressedSurface_ = surface.window;
            ::SetCapture(surface.window);
            break;
        case WM_LBUTTONUP:
            if (held) {
                const std::string released = std::exchange(pressed_, std::string());
                const POINT at{x, y};
                const bool inside = ::PtInRect(&pressedArea_, at) != FALSE;
                ::ReleaseCapture();
                send(released, Event::MouseUp, 1);
                const bool isSurface = released == surface.target;
                if (inside &&
                    (isSurface || enabled(std::string_view(released).substr(prefix_.size())))) {
                    send(released, Event::Click, 0);
                }
                return;
            }
            break;
        default:
            break;
    }
    const bool down =
        message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN || message == WM_MBUTTONDOWN;
    send(target, down ? Event::MouseDown : Event::MouseUp, buttonOf(message));
}

LRESULT CALLBACK FormWindow::controlProcedure(HWND window, UINT message, WPARAM wParam,
                                              LPARAM lParam, UINT_PTR, DWORD_PTR data) {
    auto* view = reinterpret_cast<ElementWindow*>(data);
    auto* form = reinterpret_cast<FormWindow*>(::GetWindowLongPtrW(view->surface(), GWLP_USERDATA));
    if (form == nullptr || !view->attached()) {
        return ::DefSubclassProc(window, message, wParam, lParam);
    }
    switch (message) {
        case WM_LBUTTONDBLCLK:
            // A quick second click is a click like the first.
            message = WM_LBUTTONDOWN;
            [[fallthrough]];
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
            form->send(view->target(), Event::MouseDown, buttonOf(message));
            break;
        case WM_MOUSEMOVE:
            form->send(view->target(), Event::MouseMove, buttonState(wParam));
            // A button drawn by the window has no hover look: unpressed, its
            // own handling would only track the pointer (which Wine does by
            // polling every 10 ms while the pointer rests on it).
            if (view->kind() == ViewKind::Button && (wParam & MK_LBUTTON) == 0) {
                return 0;
            }
            break;
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
            form->send(view->target(), Event::MouseUp, buttonOf(message));
            break;
        case WM_SETFOCUS:
            if (form->model_ != nullptr) {
                try {
                    form->model_->setFocus(view->element());
                    form->shown_.focusTaken(view->element().name());
                } catch (const Failure&) {
                    // A disabled element cannot hold the focus; nothing to record.
                }
            }
            break;
        case WM_NCDESTROY:
            ::RemoveWindowSubclass(window, &FormWindow::controlProcedure, 1);
            break;
        default:
            break;
    }
    return ::DefSubclassProc(window, message, wParam, lParam);
}

}  // namespace kazunavi
