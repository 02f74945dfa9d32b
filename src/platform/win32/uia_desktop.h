#pragma once

// The desktop's windows and their UI Automation trees. Made and used on one
// thread (the browser-window lookup's), which it joins to COM's
// multi-threaded apartment for its lifetime. Calls into a browser that hangs
// give up after a second (on Windows 8 and later), so that a lookup ends.
// Where there is no UI Automation (Wine), making it fails.

#include <memory>
#include <optional>

#include "platform/common/address_bar_lookup.h"
#include "platform/win32/uia_client.h"

namespace kazunavi {

// COM on this thread, from construction to destruction.
class ComApartment {
  public:
    ComApartment();
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
    ~ComApartment();

  private:
    bool joined_ = false;
};

class UiaDesktop : public AccessibleDesktop {
  public:
    // Failure when UI Automation cannot be had.
    UiaDesktop();

    WindowHandle foregroundWindow() override;
    std::optional<WindowFacts> facts(WindowHandle window) override;
    std::unique_ptr<AccessibleElement> findEdit(WindowHandle window,
                                                const AddressBarKey& key) override;

  private:
    uia::ComPtr<uia::Condition> condition(uia::PropertyId property, const VARIANT& value);

    ComApartment apartment_;  // first: outlives the objects below
    uia::ComPtr<uia::Automation> automation_;
};

}  // namespace kazunavi
