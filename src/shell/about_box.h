#pragma once

#include "shell/model/events.h"

namespace kazunavi {

class Application;

// The about box: opened from "HELP" on the main window, its link opens the
// online help page in the browser.
class AboutBox {
  public:
    explicit AboutBox(Application& app) : app_(app) {}
    void wire(EventTable& events);

    // lblEDIT on the main window: shows the one about box, modeless.
    void lblEDIT_Click();
    // Form2.Label2, the help link: on success the box closes; on failure the
    // user is told and the box stays open.
    void Label2_Click();

  private:
    Application& app_;
};

}  // namespace kazunavi
