#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/services.h"
#include "shell/model/events.h"
#include "shell/model/form1.h"
#include "shell/model/form2.h"

namespace kazunavi {

class Startup;
class Pick;
class WindowBehaviour;
class AboutBox;
class Navigator;
class ClipboardWatcher;
class MemoPad;
class StepFamily;
class Stepping;
class Repeat;
class CaretKeys;
class AutoSwitch;
class KeepList;
class BrowserCapture;

// The one application object: the windows, their event procedures and the
// services they run on. Every user action and timer tick enters through run().
class Application : private ProgramExit {
  public:
    explicit Application(Services& services);
    ~Application() override;
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // The program's entry: the start-up form's load.
    void start();
    bool ended() const { return ended_; }

    Form1& form1() { return form1_; }
    // The about box while it is loaded.
    Form2* form2() { return form2_ ? &*form2_ : nullptr; }
    Window* window(std::string_view name);

    // Runs the event procedure of target, if it has one and the program has
    // not ended; returns whether one ran.
    bool run(std::string_view target, Event event, int button = 0);

    // The system closes a window: its unload path runs.
    void close(std::string_view windowName);

    // Showing and unloading the about box.
    Form2& showForm2();
    void unloadForm2();

    // The services as the event procedures see them.
    Services& services() { return services_; }
    EventTable& events() { return events_; }

    // The help page that the about box's link opens. The program sets the
    // page beside it (help/index.html); this one stands where no program
    // folder is known, as on the simulated desktop.
    std::u16string helpAddress = u"file:///usr/share/kazunavi/help/index.html";

  private:
    void endProgram() override;

    Services& platform_;
    Services services_;  // the platform's, with the program's end routed through here
    bool ended_ = false;
    Form1 form1_;
    std::optional<Form2> form2_;
    EventTable events_;
    std::unique_ptr<Startup> startup_;
    std::unique_ptr<Pick> pick_;
    std::unique_ptr<WindowBehaviour> windowBehaviour_;
    std::unique_ptr<AboutBox> aboutBox_;
    std::unique_ptr<Navigator> navigator_;  // before everything that browses through it
    std::unique_ptr<ClipboardWatcher> clipboardWatcher_;
    std::unique_ptr<MemoPad> memoPad_;
    std::unique_ptr<StepFamily> stepFamily_;  // before the steps and ticks that run it
    std::unique_ptr<Stepping> stepping_;
    std::unique_ptr<Repeat> repeat_;
    std::unique_ptr<CaretKeys> caretKeys_;
    std::unique_ptr<AutoSwitch> autoSwitch_;
    std::unique_ptr<KeepList> keepList_;  // before the capture that adds to it
    std::unique_ptr<BrowserCapture> browserCapture_;
};

}  // namespace kazunavi
