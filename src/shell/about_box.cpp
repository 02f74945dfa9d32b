#include "shell/about_box.h"

#include "browse/browser_step.h"
#include "shell/application.h"

namespace kazunavi {

void AboutBox::wire(EventTable& events) {
    events.on("lblEDIT", Event::Click, [this](int) { lblEDIT_Click(); });
    events.on("Form2.Label2", Event::Click, [this](int) { Label2_Click(); });
}

void AboutBox::lblEDIT_Click() {
    app_.showForm2();
}

void AboutBox::Label2_Click() {
    // The link lives in the about box; without it there is nothing to click.
    if (app_.form2() == nullptr) {
        return;
    }
    if (browseOrReport(app_.services(), app_.helpAddress)) {
        app_.unloadForm2();
    }
}

}  // namespace kazunavi
