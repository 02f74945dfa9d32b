#include "ui/win32/form_window.h"

#include <windows.h>

#include <commctrl.h>

#include "platform/failure.h"

namespace kazunavi {

namespace {

constexpr wchar_t kSurfaceClass[] = L"Kazunavi.Surface";
constexpr int kTipWidth = 480;  // long tips wrap at this many pixels

void registerSurfaceClass(WNDPROC procedure) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kSurfaceClass;
    if (::RegisterClassExW(&windowClass) == 0 && ::GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
        throw Failure("window: cannot register its class");
    }
}

}  // namespace

FormWindow::FormWindow(Window& model, std::string targetPrefix, Pictures pictures,
                       Dispatch dispatch, const Frame& frame)
    : model_(&model),
      prefix_(std::move(targetPrefix)),
      pictures_(std::move(pictures)),
      dispatch_(std::move(dispatch)),
      frame_(frame) {
    registerSurfaceClass(&FormWindow::surfaceProcedure);
    const DWORD style =
        WS_CLIPCHILDREN |
        (frame.dialog ? WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_DLGFRAME : WS_POPUP);
    // A window of its own in the taskbar; the frameless one stays above the others.
    const DWORD exStyle = WS_EX_CONTROLPARENT | WS_EX_APPWINDOW |
                          (frame.dialog ? WS_EX_DLGMODALFRAME : 0) |
                          (frame.topMost ? WS_EX_TOPMOST : 0);
    window_ = UniqueWindow(createSurface(nullptr, style, exStyle, frame.title));
    const auto found = pictures_.find("");
    surfaces_.push_back({window_.get(), "", model.name(),
                         found == pictures_.end() ? nullptr : &found->second, nullptr});
    if (frame.icon != nullptr) {
        ::SendMessageW(window_.get(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(frame.icon));
        ::SendMessageW(window_.get(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(frame.icon));
    }
    dpi_ = static_cast<int>(::GetDpiForWindow(window_.get()));
    tooltips_ = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                  WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                                  CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window_.get(),
                                  nullptr, ::GetModuleHandleW(nullptr), nullptr);
    if (tooltips_ != nullptr) {
        ::SendMessageW(tooltips_, TTM_SETMAXTIPWIDTH, 0, kTipWidth);
    }
    build();
    sync();
}

FormWindow::~FormWindow() {
    // The window's messages find no form from here on.
    for (const Surface& s : surfaces_) {
        ::SetWindowLongPtrW(s.window, GWLP_USERDATA, 0);
    }
}

HWND FormWindow::createSurface(HWND parent, DWORD style, DWORD exStyle, const std::wstring& title) {
    const HWND window = ::CreateWindowExW(exStyle, kSurfaceClass, title.c_str(), style, 0, 0, 0, 0,
                                          parent, nullptr, ::GetModuleHandleW(nullptr), nullptr);
    if (window == nullptr) {
        throw Failure("window: cannot create it");
    }
    ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    return window;
}

HWND FormWindow::createControl(const Element& e, ViewKind kind, HWND parent) {
    const wchar_t* windowClass = nullptr;
    DWORD style = WS_CHILD | WS_CLIPSIBLINGS;
    switch (kind) {
        case ViewKind::Button:
            windowClass = WC_BUTTONW;
            style |= BS_OWNERDRAW | WS_TABSTOP;
            break;
        case ViewKind::TextBox:
            windowClass = WC_EDITW;
            style |= ES_AUTOHSCROLL | WS_TABSTOP;
            break;
        case ViewKind::Memo:
            windowClass = WC_EDITW;
            style |=
                ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | WS_VSCROLL | WS_BORDER | WS_TABSTOP;
            break;
        case ViewKind::DropDownList:
            windowClass = WC_COMBOBOXW;
            style |= CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP;
            break;
        case ViewKind::Panel: {
            const HWND panel =
                createSurface(parent, style | WS_CLIPCHILDREN, WS_EX_CONTROLPARENT, L"");
            const auto found = pictures_.find(e.name());
            surfaces_.push_back({panel, e.name(), prefix_ + e.name(),
                                 found == pictures_.end() ? nullptr : &found->second, nullptr});
            return panel;
        }
        default:
            return nullptr;  // drawn by its container
    }
    const HWND control = ::CreateWindowExW(0, windowClass, L"", style, 0, 0, 0, 0, parent, nullptr,
                                           ::GetModuleHandleW(nullptr), nullptr);
    if (control == nullptr) {
        throw Failure("window: cannot create the control of " + e.name());
    }
    return control;
}

void FormWindow::build() {
    for (Element& e : model_->elements()) {
        const ViewKind kind = viewKindOf(e);
        if (kind == ViewKind::None) {
            continue;
        }
        const Surface* container = nullptr;
        for (const Surface& s : surfaces_) {
            if (s.container == e.container) {
                container = &s;
            }
        }
        if (container == nullptr) {
            throw Failure("the container " + e.container + " of " + e.name() + " comes later");
        }
        const HWND surface = container->window;
        const HWND control = createControl(e, kind, surface);
        auto view = std::make_unique<ElementWindow>(e, kind, prefix_ + e.name(), surface, control);
        if (kind == ViewKind::Panel) {
            surfaces_.back().panel = view.get();
        } else if (control != nullptr) {
            ::SetWindowSubclass(control, &FormWindow::controlProcedure, 1,
                                reinterpret_cast<DWORD_PTR>(view.get()));
        }
        view->relayout(dpi_, fonts_);
        views_.push_back(std::move(view));
    }
}

FormWindow::Surface* FormWindow::surfaceOf(HWND window) {
    for (Surface& s : surfaces_) {
        if (s.window == window) {
            return &s;
        }
    }
    return nullptr;
}

ElementWindow* FormWindow::viewOf(HWND control) {
    for (const auto& view : views_) {
        if (view->control() == control && control != nullptr) {
            return view.get();
        }
    }
    return nullptr;
}

ElementWindow* FormWindow::viewNamed(std::string_view name) const {
    for (const auto& view : views_) {
        if (view->element().name() == name) {
            return view.get();
        }
    }
    return nullptr;
}

bool FormWindow::enabled(std::string_view elementName) const {
    const ElementWindow* view = viewNamed(elementName);
    if (view == nullptr || !view->attached() || !view->shownEnabled()) {
        return false;
    }
    const std::string& container = view->element().container;
    return container.empty() || enabled(container);
}

void FormWindow::send(const std::string& target, Event event, int button) {
    if (model_ != nullptr && dispatch_) {
        dispatch_(target, event, button);
    }
}

void FormWindow::pullSelections() {
    for (const auto& view : views_) {
        if (view->kind() == ViewKind::TextBox) {
            view->pullSelection();
        }
    }
}

bool FormWindow::sync() {
    if (model_ == nullptr) {
        return false;
    }
    bool changed = false;
    if (shown_.elementsChanged(*model_)) {
        for (const auto& view : views_) {
            if (view->due()) {
                changed = view->sync(dpi_, tooltips_) || changed;
            }
        }
    }
    const WindowChanges window = shown_.sync(*model_);
    if (window.size) {
        placeWindow(false);
        changed = true;
    }
    if (window.visible) {
        if (window.firstShown) {
            placeWindow(true);
        }
        ::ShowWindow(window_.get(), shown_.visible() ? SW_SHOW : SW_HIDE);
        changed = true;
    }
    if (window.focus) {
        if (const ElementWindow* view = viewNamed(shown_.focus());
            view != nullptr && view->control() != nullptr) {
            ::SetFocus(view->control());
        }
    }
    return changed;
}

void FormWindow::placeWindow(bool centre) {
    // Grows and shrinks downwards: the top-left corner stays.
    RECT area{0, 0, pixels(shown_.width(), dpi_), pixels(shown_.height(), dpi_)};
    const DWORD style = static_cast<DWORD>(::GetWindowLongPtrW(window_.get(), GWL_STYLE));
    const DWORD exStyle = static_cast<DWORD>(::GetWindowLongPtrW(window_.get(), GWL_EXSTYLE));
    ::AdjustWindowRectExForDpi(&area, style, FALSE, exStyle, static_cast<UINT>(dpi_));
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    if (!centre) {
        ::SetWindowPos(window_.get(), nullptr, 0, 0, width, height,
                       SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        return;
    }
    RECT work{};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    ::SetWindowPos(window_.get(), nullptr, (work.left + work.right - width) / 2,
                   (work.top + work.bottom - height) / 2, width, height,
                   SWP_NOZORDER | SWP_NOACTIVATE);
}

void FormWindow::dpiChanged(int dpi, const RECT& suggested) {
    dpi_ = dpi;
    for (const auto& view : views_) {
        view->relayout(dpi_, fonts_);
    }
    ::SetWindowPos(window_.get(), nullptr, suggested.left, suggested.top,
                   suggested.right - suggested.left, suggested.bottom - suggested.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
}

void FormWindow::detach() {
    model_ = nullptr;
    for (const auto& view : views_) {
        view->detach();
    }
    ::ShowWindow(window_.get(), SW_HIDE);
}

}  // namespace kazunavi
