#include "ui/qt/form_views.h"

#include <QApplication>
#include <algorithm>

#include "platform/qt/qt_message_box.h"
#include "platform/qt/qt_window_manager.h"
#include "ui/common/view_kinds.h"

namespace kazunavi {

namespace {
constexpr char16_t kProgramName[] = u"Kazunavi";
}

FormViews::FormViews(Application& app, QtWindowManager* windows) : app_(app), windows_(windows) {
    auto send = [this](const std::string& target, Event event, int button) {
        dispatch(target, event, button);
    };
    main_ = std::make_unique<FormView>(app_.form1(), "", mainWindowPictures(), send,
                                       Qt::Window | Qt::FramelessWindowHint);
    main_->setWindowTitle(QString::fromUtf16(kProgramName));
    main_->setUp([targets = clickTargets(app_.events())](ElementView& view) {
        if (auto* label = dynamic_cast<LabelView*>(&view);
            label != nullptr &&
            std::ranges::find(targets, label->element().name()) != targets.end()) {
            label->takeKeyboard();
        }
    });
    connect(main_.get(), &FormView::closeRequested, this, [this] {
        app_.close("Form1");
        syncAll();
    });
    if (windows_ != nullptr) {
        windows_->attach(Form1::kHandle, main_.get());
    }
    connect(qApp, &QApplication::focusChanged, this, &FormViews::focusChanged);
    main_->sync();
}

FormViews::~FormViews() {
    if (windows_ != nullptr) {
        windows_->detach(Form1::kHandle);
        windows_->detach(Form2::kHandle);
    }
}

void FormViews::dispatch(std::string_view target, Event event, int button) {
    if (app_.run(target, event, button)) {
        syncAll();
    }
}

void FormViews::press(std::string_view target) {
    const QWidget* widget = main_->widgetOf(std::string(target));
    if (widget == nullptr || !widget->isEnabled()) {
        return;
    }
    dispatch(target, Event::MouseDown, 1);
    dispatch(target, Event::MouseUp, 1);
    dispatch(target, Event::Click, 0);
}

void FormViews::tick(Timer& timer) {
    // The timers of a window that is not loaded do not run.
    if (!app_.form1().loaded) {
        return;
    }
    if (app_.run(timer.name(), Event::Timer)) {
        syncAll();
    }
}

void FormViews::closeAbout() {
    if (!about_) {
        return;
    }
    if (windows_ != nullptr) {
        windows_->detach(Form2::kHandle);
    }
    about_->detach();
    // The view may be the sender of the event that is running now: it goes
    // when control is back in the event loop.
    about_.release()->deleteLater();
    aboutModel_ = nullptr;
}

bool FormViews::syncAll() {
    if (app_.ended()) {
        const bool wasShown = main_->isVisible() || about_;
        closeAbout();
        main_->hide();
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
            about_ = std::make_unique<FormView>(*form2, "Form2.", aboutBoxPictures(), send,
                                                kBoxWindowFlags | Qt::MSWindowsFixedSizeDialogHint);
            about_->setWindowTitle(QString::fromUtf16(kProgramName) +
                                   QStringLiteral("  について..."));
            connect(about_.get(), &FormView::closeRequested, this, [this] {
                app_.close("Form2");
                syncAll();
            });
            aboutModel_ = form2;
            if (windows_ != nullptr) {
                windows_->attach(Form2::kHandle, about_.get());
            }
        }
        changed = true;
    }
    if (about_) {
        changed = about_->sync() || changed;
    }
    return changed;
}

void FormViews::showNow() {
    if (syncAll()) {
        if (main_->isVisible()) {
            main_->repaint();
        }
        if (about_ && about_->isVisible()) {
            about_->repaint();
        }
    }
}

QWidget* FormViews::messageOwner() {
    if (!app_.ended() && main_->isVisible()) {
        return main_.get();
    }
    return nullptr;
}

void FormViews::focusChanged(QWidget*, QWidget* now) {
    if (now == nullptr) {
        return;
    }
    for (FormView* view : {main_.get(), about_.get()}) {
        if (view == nullptr) {
            continue;
        }
        // The focus may sit on an inner part of an element (a list's popup).
        for (QWidget* w = now; w != nullptr && w != view; w = w->parentWidget()) {
            if (ElementView* element = view->viewOf(w)) {
                view->focusTaken(*element);
                return;
            }
        }
    }
}

}  // namespace kazunavi
