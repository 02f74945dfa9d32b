#include "shell/application.h"

#include "browse/clipboard_watcher.h"
#include "browse/navigation.h"
#include "engine/auto_switch.h"
#include "engine/caret_keys.h"
#include "engine/pick.h"
#include "engine/repeat.h"
#include "engine/step_family.h"
#include "engine/stepping.h"
#include "keep/capture.h"
#include "keep/keep_list.h"
#include "keep/memo.h"
#include "shell/about_box.h"
#include "shell/startup.h"
#include "shell/window_behaviour.h"

namespace kazunavi {

Application::Application(Services& services)
    : platform_(services),
      services_(services.with({.programExit = this})),
      startup_(std::make_unique<Startup>(*this)),
      pick_(std::make_unique<Pick>(form1_, services_)) {
    for (Timer* t : form1_.timers()) {
        t->attach(&services_.timerHost);
    }
    startup_->wire(events_);
    pick_->wire(events_);
    navigator_ = std::make_unique<Navigator>(form1_, services_);
    navigator_->wire(events_);
    stepFamily_ = std::make_unique<StepFamily>(form1_, services_, *navigator_);
    stepping_ = std::make_unique<Stepping>(form1_, *stepFamily_, *navigator_);
    stepping_->wire(events_);
    repeat_ = std::make_unique<Repeat>(form1_, services_, *stepFamily_);
    repeat_->wire(events_);
    caretKeys_ = std::make_unique<CaretKeys>(form1_, services_);
    caretKeys_->wire(events_);
    autoSwitch_ = std::make_unique<AutoSwitch>(form1_);
    autoSwitch_->wire(events_);
    clipboardWatcher_ = std::make_unique<ClipboardWatcher>(form1_, services_, *navigator_);
    clipboardWatcher_->wire(events_);
    memoPad_ = std::make_unique<MemoPad>(form1_, services_);
    memoPad_->wire(events_);
    keepList_ = std::make_unique<KeepList>(form1_, services_);
    keepList_->wire(events_);
    startup_->loadKeepList = [this] { keepList_->LoadKeepList(); };
    browserCapture_ = std::make_unique<BrowserCapture>(form1_, services_, *keepList_);
    browserCapture_->wire(events_);
    windowBehaviour_ = std::make_unique<WindowBehaviour>(form1_, services_);
    windowBehaviour_->wire(events_);
    aboutBox_ = std::make_unique<AboutBox>(*this);
    aboutBox_->wire(events_);
}

Application::~Application() = default;

void Application::start() {
    startup_->Form3_Load();
}

Window* Application::window(std::string_view name) {
    if (name == "Form1") {
        return &form1_;
    }
    if (name == "Form2") {
        return form2();
    }
    return nullptr;
}

bool Application::run(std::string_view target, Event event, int button) {
    if (ended_) {
        return false;
    }
    const EventTable::Handler* handler = events_.find(target, event);
    if (handler == nullptr) {
        return false;
    }
    (*handler)(button);
    return true;
}

void Application::close(std::string_view windowName) {
    if (ended_) {
        return;
    }
    if (windowName == "Form1") {
        startup_->Form_Unload();
    } else if (windowName == "Form2") {
        unloadForm2();
    }
}

Form2& Application::showForm2() {
    if (!form2_) {
        form2_.emplace();
        form2_->loaded = true;
    }
    form2_->visible = true;
    return *form2_;
}

void Application::unloadForm2() {
    form2_.reset();
}

void Application::endProgram() {
    if (ended_) {
        return;
    }
    ended_ = true;
    for (Timer* t : form1_.timers()) {
        t->setEnabled(false);
    }
    platform_.programExit.endProgram();
}

}  // namespace kazunavi
