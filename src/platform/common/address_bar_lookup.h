#pragma once

// The browser window in front, read through its address bar in the desktop's
// accessibility tree. Finding the bar searches the window's tree, which is
// large and slow in a browser: the bar found is kept per window and only read
// on the next looks, and a window without one is searched again only after a
// while.

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "platform/common/address_bar.h"
#include "platform/common/latest_browser_windows.h"

namespace kazunavi {

// An element of another program's window.
class AccessibleElement {
  public:
    virtual ~AccessibleElement() = default;
    // Its text as it is now; nothing when the element is gone or does not
    // answer.
    virtual std::optional<AddressBarText> read() = 0;
};

// The desktop's windows and their accessibility trees.
class AccessibleDesktop {
  public:
    virtual ~AccessibleDesktop() = default;
    // 0 when no window is in front.
    virtual WindowHandle foregroundWindow() = 0;
    // Nothing for a window that is gone or of this program itself.
    virtual std::optional<WindowFacts> facts(WindowHandle window) = 0;
    // The first edit field below the window with the key's property; nothing
    // when there is none or the window does not answer.
    virtual std::unique_ptr<AccessibleElement> findEdit(WindowHandle window,
                                                        const AddressBarKey& key) = 0;
};

class AddressBarLookup : public WindowLookup {
  public:
    // Windows whose bars are kept; the least recently seen goes first.
    static constexpr std::size_t kKeptWindows = 8;
    // Looks after which a window without a bar is searched again.
    static constexpr std::uint64_t kSearchAgainAfter = 10;

    explicit AddressBarLookup(std::unique_ptr<AccessibleDesktop> desktop)
        : desktop_(std::move(desktop)) {}

    // The browser window in front with the address its bar shows (empty when
    // the bar's text is no sure address), or none.
    std::vector<BrowserWindow> lookUp() override;

  private:
    struct Kept {
        WindowHandle window = 0;
        std::u16string processPath;
        std::unique_ptr<AccessibleElement> bar;  // none: not found
        std::uint64_t searchedAt = 0;
    };

    Kept& kept(WindowHandle window, const WindowFacts& facts, const BrowserRule& rule);
    std::optional<AddressBarText> readBar(WindowHandle window, const WindowFacts& facts,
                                          const BrowserRule& rule);

    std::unique_ptr<AccessibleDesktop> desktop_;
    std::vector<Kept> kept_;  // the most recently seen first
    std::uint64_t looks_ = 0;
};

}  // namespace kazunavi
