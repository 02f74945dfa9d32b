#include "ui/win32/form_windows.h"

#include "platform/win32/win32_window_manager.h"
#include "ui/win32/skins.h"

namespace kazunavi {

namespace {
constexpr wchar_t kProgramName[] = L"Kazunavi";
}

FormWindows::FormWindows(Application& app, Win32WindowManager* windows, HICON icon)
    : app_(app), windows_(windows), icon_(icon) {
    auto send = [this](const std::string& target, Event event, int button) {
        dispatch(target, event, button);
    };
    main_ = std::make_unique<FormWindow>(
        app_.form1(), "", mainWindowPictures(), send,
        FormWindow::Frame{.title = kProgramName, .dialog = false, .topMost = true, .icon = icon_});
    main_->onCloseRequest([this] {
        app_.close("Form1");
        syncAll();
    });
    if (windows_ != nullptr) {
        windows_->attach(Form1::kHandle, main_->handle());
    }
}

FormWindows::~FormWindows() {
    if (windows_ != nullptr) {
        windows_->detach(Form1::kHandle);
        windows_->detach(Form2::kHandle);
    }
}

void FormWindows::leave() {
    if (--depth_ == 0) {
        closed_.clear();
    }
}

void FormWindows::dispatch(std::string_view target, Event event, int button) {
    enter();
    // The text boxes do not report a new selection: it goes into the model
    // before any procedure reads it.
    main_->pullSelections();
    if (about_) {
        about_->pullSelections();
    }
    if (app_.run(target, event, button)) {
        syncAll();
    }
    leave();
}

void FormWindows::tick(Timer& timer) {
    // The timers of a window that is not loaded do not run.
    if (!app_.form1().loaded) {
        return;
    }
    enter();
    main_->pullSelections();
    if (app_.run(timer.name(), Event::Timer)) {
        syncAll();
    }
    leave();
}

void FormWindows::closeAbout() {
    if (!about_) {
        return;
    }
    if (windows_ != nullptr) {
        windows_->detach(Form2::kHandle);
    }
    about_->detach();
    // The window may be running the procedure that closes it.
    closed_.push_back(std::move(about_));
    aboutModel_ = nullptr;
}

bool FormWindows::syncAll() {
    if (app_.ended()) {
        const bool wasShown = main_->isVisible() || about_;
        closeAbout();
        main_->detach();
        return wasShown;
    }
    bool changed = main_->sync();
    Form2* form2 = app_.form2();
    if (form2 != aboutModel_) {
        closeAbout();
        if (form2 != nullptr) {
            auto send = [this](const std::string& target, Event event, int button) {
                dispatch(target, event, button);
            };
            about_ = std::make_unique<FormWindow>(
                *form2, "Form2.", aboutBoxPictures(icon_), send,
                FormWindow::Frame{.title = std::wstring(kProgramName) + L"  について...",
                                  .dialog = true,
                                  .topMost = false,
                                  .icon = icon_});
            about_->onCloseRequest([this] {
                enter();
                app_.close("Form2");
                syncAll();
                leave();
            });
            aboutModel_ = form2;
            if (windows_ != nullptr) {
                windows_->attach(Form2::kHandle, about_->handle());
            }
        }
        changed = true;
    }
    if (about_) {
        changed = about_->sync() || changed;
    }
    return changed;
}

void FormWindows::showNow() {
    if (syncAll()) {
        ::UpdateWindow(main_->handle());
        if (about_) {
            ::UpdateWindow(about_->handle());
        }
    }
}

HWND FormWindows::messageOwner() const {
    if (!app_.ended() && main_->isVisible()) {
        return main_->handle();
    }
    return nullptr;
}

int FormWindows::run() {
    MSG message{};
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        // Tab and the arrow keys walk the controls of the window in front.
        const HWND front = ::GetActiveWindow();
        if (front != nullptr && ::IsDialogMessageW(front, &message)) {
            continue;
        }
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

}  // namespace kazunavi
