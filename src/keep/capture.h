#pragma once

#include <string>

#include "platform/services.h"
#include "shell/model/events.h"

namespace kazunavi {

class Form1;
class KeepList;

// Twice a second the browser window in front gives its address and title to
// lURL and lTTL; KEEP adds that address to the keep list.
class BrowserCapture {
  public:
    // Characters the browser appends to the page title in its window title,
    // where the platform does not say how many.
    static constexpr int kDefaultTitleSuffix = 29;

    BrowserCapture(Form1& form, Services& services, KeepList& keepList)
        : f_(form), s_(services), keepList_(keepList) {}
    void wire(EventTable& events);

    void timGETURL_Timer();
    void Command3_Click();

    // "&H" and the handle in upper-case hexadecimal digits without leading zeros.
    static std::u16string handleText(WindowHandle handle);

  private:
    Form1& f_;
    Services& s_;
    KeepList& keepList_;
};

}  // namespace kazunavi
