#pragma once

namespace kazunavi {

// Sends the browser to an address composed from what the main window holds:
// the caught address, the bracket template's or the picked number's. A
// failure of the browser step is reported to the user there; a failure in
// composing the address is thrown to the caller with nothing sent. The steps
// and the clipboard watcher browse through this, not knowing who composes.
class AddressBrowsing {
  public:
    virtual ~AddressBrowsing() = default;
    virtual void BrowseCurrentUrl() = 0;
    virtual void BrowseBracketUrl() = 0;
    virtual void BrowsePickedUrl() = 0;
};

}  // namespace kazunavi
