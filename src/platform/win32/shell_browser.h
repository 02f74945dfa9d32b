#pragma once

// The browser step on Windows: the address handed to the shell, which opens
// it in the user's default browser.

#include <string>
#include <string_view>

#include "platform/services.h"

namespace kazunavi {

// What the shell is given for an address: a web address as it is, one
// without a scheme (www.example.org/1) as http://. Throws Failure for an
// empty address, one beginning with '-' or holding a control character, and
// one of any other scheme: the shell would open files (file:) and run
// programs for them, not a browser.
std::wstring shellAddressFor(std::u16string_view address);

class ShellBrowser : public Browser {
  public:
    // A page of the program's own (its help page, a file: address) that
    // goes to the program of the user's web addresses: the shell would open
    // the file in whatever program its type belongs to, if any.
    void allowOwnPage(std::u16string address) { ownPageAddress_ = std::move(address); }
    // Returns as soon as the shell has handed the address on. Throws Failure
    // when the address cannot be sent or the shell cannot open it.
    void navigate(std::u16string_view address) override;

  private:
    std::u16string ownPageAddress_;
};

}  // namespace kazunavi
