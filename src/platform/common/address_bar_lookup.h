#pragma once

// The browser window in front, read through the desktop's accessibility
// tree: from the document of the page shown, which tells the whole address,
// else from the address bar, which may hide part of it. Finding either
// searches the window's tree, which is large and slow in a browser: what is
// found is kept per window and only read on the next looks. A document is
// searched again at once when it reads worse than before (gone, out of sight
// behind another tab, no longer a web page); anything not found is searched
// again only after a while.

#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>
#include <utility>
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

// A page's document in another program's window.
class AccessibleDocument {
  public:
    virtual ~AccessibleDocument() = default;
    // Nothing when the document is gone or does not answer.
    virtual std::optional<DocumentText> read() = 0;
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
    // The first document in sight below the window's visible child window of
    // class contentWindowClass, or, where that is empty, below the window;
    // nothing when there is none or the window does not answer.
    virtual std::unique_ptr<AccessibleDocument> findDocument(
        WindowHandle window, std::u16string_view contentWindowClass) = 0;
};

class AddressBarLookup : public WindowLookup {
  public:
    // Windows whose documents and bars are kept; the least recently seen goes first.
    static constexpr std::size_t kKeptWindows = 8;
    // Looks after which what was not found is searched again.
    static constexpr std::uint64_t kSearchAgainAfter = 10;

    explicit AddressBarLookup(std::unique_ptr<AccessibleDesktop> desktop)
        : desktop_(std::move(desktop)) {}

    // The browser window in front with the address of its page (empty when
    // neither its document nor its bar tells a sure one), or none.
    std::vector<BrowserWindow> lookUp() override;

  private:
    // What a document read gave, each better than the one before.
    enum class Seen { Nothing, Page, WebAddress };

    struct Kept {
        Kept(WindowHandle w, std::u16string path) : window(w), processPath(std::move(path)) {}
        WindowHandle window = 0;
        std::u16string processPath;
        std::unique_ptr<AccessibleDocument> document;  // none: not found
        std::optional<std::uint64_t> documentSearchedAt;
        Seen seen = Seen::Nothing;               // at the document's last read
        std::unique_ptr<AccessibleElement> bar;  // none: not found
        std::optional<std::uint64_t> barSearchedAt;
    };

    Kept& kept(WindowHandle window, const WindowFacts& facts);
    bool due(const std::optional<std::uint64_t>& searchedAt) const;
    std::u16string readDocument(Kept& entry, const BrowserRule& rule);
    std::optional<AddressBarText> readBar(Kept& entry, const BrowserRule& rule);

    std::unique_ptr<AccessibleDesktop> desktop_;
    std::vector<Kept> kept_;  // the most recently seen first
    std::uint64_t looks_ = 0;
};

}  // namespace kazunavi
