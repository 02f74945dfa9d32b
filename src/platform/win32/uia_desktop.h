#pragma once

// The desktop's windows and their UI Automation trees. Made and used on one
// thread (the browser-window lookup's), which it joins to COM's
// multi-threaded apartment for its lifetime. Calls into a browser that hangs
// give up after a second (on Windows 8 and later), so that a lookup ends.
// Where there is no UI Automation (Wine), making it fails.

#include <memory>
#include <optional>
#include <string_view>

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

    std::unique_ptr<AccessibleDocument> findDocument(
        WindowHandle window, std::u16string_view contentWindowClass) override;

  private:
    // Both properties with their values; none when it cannot be made.
    uia::ComPtr<uia::Condition> condition(uia::PropertyId property, const VARIANT& value,
                                          uia::PropertyId otherProperty, const VARIANT& otherValue);
    // The first element in scope of the window's element that meets the
    // condition; none when there is none or the window does not answer.
    uia::ComPtr<uia::Element> findFirst(HWND window, int scope,
                                        const uia::ComPtr<uia::Condition>& condition);

    ComApartment apartment_;  // first: outlives the objects below
    uia::ComPtr<uia::Automation> automation_;
};

}  // namespace kazunavi
