#pragma once

// The browser window in front, found on the accessibility bus. Browsers
// publish each window as a frame named like the window's title; the visible
// page is the frame's one web document that is showing, and the document
// tells its address. The X11 window in front gives its id, title and process
// id; the frame of that process with that name (the ACTIVE one of several) is
// that window. A Firefox that shows nothing on the bus (started without
// accessibility) still tells its pages in its session store and history.

#include <chrono>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/atspi/accessibility_bus.h"
#include "platform/common/browser_frames.h"
#include "platform/common/latest_browser_windows.h"
#include "platform/linux/cancel_signal.h"
#include "platform/linux/firefox_sessions.h"
#include "platform/x11/x11_windows.h"

namespace kazunavi {

struct FrontBrowserTimeouts {
    // The whole lookup, connecting included.
    std::chrono::milliseconds lookup{400};
    // Between two looks at a page caught between two moments.
    std::chrono::milliseconds secondLook{60};
    // After a failed attempt to reach the accessibility bus, the next one.
    std::chrono::milliseconds reconnect{5000};
    // A window whose program was not on the bus, unchanged in front: the
    // bus is asked again after this long (the program may have joined). An
    // answer of no browser window holds this long at most.
    std::chrono::milliseconds unpublishedRecheck{5000};
};

class FrontBrowserLookup : public WindowLookup {
  public:
    explicit FrontBrowserLookup(FrontBrowserTimeouts timeouts = {});
    ~FrontBrowserLookup() override;
    FrontBrowserLookup(const FrontBrowserLookup&) = delete;
    FrontBrowserLookup& operator=(const FrontBrowserLookup&) = delete;

    // The browser window in front with the address it shows, or none.
    std::vector<BrowserWindow> lookUp() override;
    void cancel() override;
    bool answerHolds() const override { return holds_; }
    void awaitChange() override;

  private:
    struct FrontWindow {
        std::uint32_t id = 0;
        std::uint32_t processId = 0;
        std::u16string title;
    };
    // What one look finds: the window, or whether another look might.
    struct Sight {
        std::optional<BrowserWindow> window;
        bool lookAgain = false;
        bool holds = false;  // no browser window until another is in front
    };

    std::optional<FrontWindow> frontWindow();
    AccessibilityBus* bus(AccessibilityBus::Clock::time_point deadline);
    Sight look(AccessibilityBus::Clock::time_point deadline);
    Sight browserWindow(AccessibilityBus& bus, const FrontWindow& front,
                        const std::vector<AccessibleRef>& applications);
    Sight storedWindow(const FrontWindow& front, AccessibilityBus::Clock::time_point deadline);
    std::vector<AccessibleRef> applicationsOf(AccessibilityBus& bus, std::uint32_t processId);
    // Whether the window's program was not on the bus when asked lately.
    bool knownUnpublished(const FrontWindow& front) const;
    // The page of the document found last for the same window and title,
    // while that document still shows: two questions instead of a search
    // of the whole tree. None when it must be searched.
    std::optional<Sight> pageAgain(AccessibilityBus& bus, const FrontWindow& front);
    // The page a document shows; its title is asked unless known.
    Sight page(AccessibilityBus& bus, const FrontWindow& front, const AccessibleRef& document,
               std::optional<std::u16string> pageTitle);

    FrontBrowserTimeouts timeouts_;
    GCancellable* cancellable_;
    CancelSignal cancelled_;
    bool holds_ = false;
    std::uint64_t seenChanges_ = 0;  // of the window in front, when last looked at
    OwnX11Windows windows_;
    SessionBus session_;
    std::unique_ptr<AccessibilityBus> bus_;
    AccessibilityBus::Clock::time_point nextConnect_{};
    std::map<std::string, std::uint32_t> processIds_;  // by unique bus name
    struct ShownDocument {
        std::uint32_t window;
        std::u16string title;
        AccessibleRef document;
        std::u16string pageTitle;
    };
    std::optional<ShownDocument> lastPage_;
    struct UnpublishedWindow {
        std::uint32_t window;
        std::uint32_t processId;
        std::u16string title;
        AccessibilityBus::Clock::time_point askedAt;
    };
    std::optional<UnpublishedWindow> unpublished_;
    SecondLook secondLook_;
    FirefoxSessions sessions_;
};

}  // namespace kazunavi
