#pragma once

#include "platform/services.h"
#include "shell/model/address_browsing.h"
#include "shell/model/events.h"

namespace kazunavi {

class Form1;

// Composing the address to visit and sending the browser there.
class Navigator : public AddressBrowsing {
  public:
    Navigator(Form1& form, Services& services) : f_(form), s_(services) {}
    void wire(EventTable& events);

    // A failure of the browser step is reported with Error_08; a negative
    // count in composing the address is the failure thrown.
    void BrowseCurrentUrl() override;
    void BrowseBracketUrl() override;
    void BrowsePickedUrl() override;

    void Command10_Click();
    void Command2_Click();
    void Command5_Click();

  private:
    Form1& f_;
    Services& s_;
};

}  // namespace kazunavi
