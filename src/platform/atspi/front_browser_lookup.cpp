#include "platform/atspi/front_browser_lookup.h"

#include <atspi/atspi-constants.h>
#include <gio/gio.h>

#include <set>
#include <thread>
#include <utility>

#include "platform/common/utf8.h"
#include "platform/failure.h"
#include "platform/x11/x11_windows.h"

namespace kazunavi {

namespace {

constexpr std::uint64_t stateBit(AtspiStateType state) {
    return std::uint64_t{1} << static_cast<unsigned>(state);
}

// The address a web document shows: Firefox says DocURL, Chromium URI.
std::optional<std::string> documentAddress(const std::map<std::string, std::string>& attributes) {
    for (const char* key : {"DocURL", "URI"}) {
        if (auto found = attributes.find(key);
            found != attributes.end() && !found->second.empty()) {
            return found->second;
        }
    }
    return std::nullopt;
}

}  // namespace

FrontBrowserLookup::FrontBrowserLookup(FrontBrowserTimeouts timeouts)
    : timeouts_(timeouts), cancellable_(g_cancellable_new()) {}

FrontBrowserLookup::~FrontBrowserLookup() {
    bus_.reset();
    windows_.close();
    g_object_unref(cancellable_);
}

void FrontBrowserLookup::cancel() {
    g_cancellable_cancel(cancellable_);
    cancelled_.cancel();
}

std::optional<FrontBrowserLookup::FrontWindow> FrontBrowserLookup::frontWindow() {
    X11Windows* windows = windows_.open();
    if (windows == nullptr) {
        return std::nullopt;
    }
    // This program's own windows are never browser windows.
    const std::optional<xcb_window_t> active = windows->othersActiveWindow();
    if (!active) {
        return std::nullopt;
    }
    FrontWindow front;
    front.id = *active;
    front.processId = windows->processId(front.id);  // known already: no round trip
    front.title = windows->title(front.id);
    return front;
}

AccessibilityBus* FrontBrowserLookup::bus(AccessibilityBus::Clock::time_point deadline) {
    if (bus_ && bus_->closed()) {
        bus_.reset();
        processIds_.clear();
    }
    if (!bus_) {
        const auto now = AccessibilityBus::Clock::now();
        if (now < nextConnect_) {
            return nullptr;
        }
        nextConnect_ = now + timeouts_.reconnect;
        bus_ = AccessibilityBus::connect(session_, cancellable_, deadline);
    }
    bus_->setDeadline(deadline);
    return bus_.get();
}

std::vector<AccessibleRef> FrontBrowserLookup::applicationsOf(AccessibilityBus& bus,
                                                              std::uint32_t processId) {
    std::vector<AccessibleRef> matching;
    std::set<std::string> present;
    for (const AccessibleRef& application : bus.applications()) {
        present.insert(application.busName);
        auto known = processIds_.find(application.busName);
        if (known == processIds_.end()) {
            known =
                processIds_.emplace(application.busName, bus.processId(application.busName)).first;
        }
        if (known->second == processId) {
            matching.push_back(application);
        }
    }
    // Unique bus names are never used again: forget those that left.
    std::erase_if(processIds_,
                  [&present](const auto& entry) { return !present.contains(entry.first); });
    return matching;
}

bool FrontBrowserLookup::knownUnpublished(const FrontWindow& front) const {
    return unpublished_ && unpublished_->window == front.id &&
           unpublished_->processId == front.processId && unpublished_->title == front.title &&
           AccessibilityBus::Clock::now() - unpublished_->askedAt < timeouts_.unpublishedRecheck;
}

FrontBrowserLookup::Sight FrontBrowserLookup::browserWindow(
    AccessibilityBus& bus, const FrontWindow& front,
    const std::vector<AccessibleRef>& applications) {
    std::vector<AccessibleRef> frames;
    std::vector<FrameFacts> facts;
    for (const AccessibleRef& application : applications) {
        for (AccessibleRef& frame : bus.children(application)) {
            FrameFacts fact{fromUtf8(bus.name(frame)), front.processId, false};
            // Only a frame with the window's title can be it: the state is
            // asked of those alone.
            if (fact.name == front.title) {
                fact.active = (bus.states(frame) & stateBit(ATSPI_STATE_ACTIVE)) != 0;
            }
            facts.push_back(std::move(fact));
            frames.push_back(std::move(frame));
        }
    }
    const std::optional<std::size_t> match = matchFrame(facts, front.processId, front.title);
    if (!match) {
        return {};
    }
    // The visible tab's page; pages of other tabs are not showing.
    const std::optional<AccessibleRef> document =
        bus.firstDescendant(frames[*match], ATSPI_ROLE_DOCUMENT_WEB, stateBit(ATSPI_STATE_SHOWING));
    if (!document) {
        return {};
    }
    return page(bus, front, *document, std::nullopt);
}

std::optional<FrontBrowserLookup::Sight> FrontBrowserLookup::pageAgain(AccessibilityBus& bus,
                                                                       const FrontWindow& front) {
    if (!lastPage_ || lastPage_->window != front.id || lastPage_->title != front.title) {
        return std::nullopt;
    }
    // Another tab of the same title, or a new page in this one, leaves this
    // document hidden or gone: then the whole tree is searched again.
    const ShownDocument last = *std::exchange(lastPage_, std::nullopt);
    try {
        const std::uint64_t states = bus.states(last.document);
        if ((states & stateBit(ATSPI_STATE_SHOWING)) == 0 ||
            (states & stateBit(ATSPI_STATE_DEFUNCT)) != 0) {
            return std::nullopt;
        }
        return page(bus, front, last.document, last.pageTitle);
    } catch (const Failure&) {
        return std::nullopt;
    }
}

FrontBrowserLookup::Sight FrontBrowserLookup::page(AccessibilityBus& bus, const FrontWindow& front,
                                                   const AccessibleRef& document,
                                                   std::optional<std::u16string> pageTitle) {
    const std::map<std::string, std::string> attributes = bus.documentAttributes(document);
    // A blank page has no address: the window shows nothing that could be kept.
    const std::string address = documentAddress(attributes).value_or("");
    if (!pageTitle) {
        pageTitle = fromUtf8(bus.name(document));
    }
    if (pageTitle->empty()) {
        if (auto title = attributes.find("Title"); title != attributes.end()) {
            *pageTitle = fromUtf8(title->second);
        }
    }
    // Without a page title that the window title begins with, the suffix is
    // the whole window title (a page without a title) or unknown.
    const std::optional<int> suffix =
        titleSuffixLength(front.title, *pageTitle, WindowManager::kTitleBufferSize);
    // A page without an address or a title, or whose title the window title
    // does not begin with, may be caught between two moments.
    const bool settled = !address.empty() && !pageTitle->empty() && suffix.has_value();
    if (!settled && !secondLook_.confirms(document.busName + document.path + ' ' + address,
                                          front.title, *pageTitle)) {
        return {std::nullopt, true};
    }
    if (settled) {
        lastPage_ = ShownDocument{front.id, front.title, document, *pageTitle};
    }
    return {BrowserWindow{front.id, fromUtf8(address), suffix}, false};
}

FrontBrowserLookup::Sight FrontBrowserLookup::storedWindow(
    const FrontWindow& front, AccessibilityBus::Clock::time_point deadline) {
    // Reading the store or the history is short but not free: none once the
    // time is up.
    if (AccessibilityBus::Clock::now() >= deadline || g_cancellable_is_cancelled(cancellable_)) {
        return {};
    }
    // The store and the history tell a page only by the window's very title,
    // so a second look would find nothing more. Until then the window shows
    // nothing that could be kept: not the page caught before it.
    if (std::optional<ShownPage> page =
            sessions_.pageShown(front.processId, front.id, front.title)) {
        return {BrowserWindow{front.id, std::move(page->url), page->titleSuffixLength}, false};
    }
    // No browser's window: so it stays until another window or title is in
    // front (or the program joins the bus, or its store is written).
    return {std::nullopt, false, true};
}

FrontBrowserLookup::Sight FrontBrowserLookup::look(AccessibilityBus::Clock::time_point deadline) {
    // Counted before anything is read: a change reported while it is read
    // ends a wait for one at once.
    seenChanges_ = windows_.get() != nullptr ? windows_.get()->reportedChanges() : 0;
    const std::optional<FrontWindow> front = frontWindow();
    if (!front) {
        // No window in front, or one of ours, until the next report.
        return {std::nullopt, false, windows_.get() != nullptr};
    }
    bool published = false;
    try {
        AccessibilityBus* connected = knownUnpublished(*front) ? nullptr : bus(deadline);
        if (connected) {
            if (std::optional<Sight> again = pageAgain(*connected, *front)) {
                return *again;
            }
            const std::vector<AccessibleRef> applications =
                applicationsOf(*connected, front->processId);
            published = !applications.empty();
            if (published) {
                unpublished_.reset();
                return browserWindow(*connected, *front, applications);
            }
            unpublished_ = UnpublishedWindow{front->id, front->processId, front->title,
                                             AccessibilityBus::Clock::now()};
        }
    } catch (const Failure&) {
        // A browser on the bus that does not answer in time is not asked
        // elsewhere: nothing found.
        if (published) {
            return {};
        }
    }
    // The process publishes nothing on the bus, or there is no bus.
    return storedWindow(*front, deadline);
}

std::vector<BrowserWindow> FrontBrowserLookup::lookUp() {
    const auto deadline = AccessibilityBus::Clock::now() + timeouts_.lookup;
    Sight sight = look(deadline);
    if (sight.lookAgain && AccessibilityBus::Clock::now() + timeouts_.secondLook < deadline &&
        !g_cancellable_is_cancelled(cancellable_)) {
        std::this_thread::sleep_for(timeouts_.secondLook);
        sight = look(deadline);
    }
    // Without the window manager's reports a wait could not end with a
    // change: then every tick looks.
    holds_ = sight.holds && !sight.window && windows_.get() != nullptr &&
             windows_.get()->reportsActiveWindow();
    if (sight.window) {
        return {std::move(*sight.window)};
    }
    return {};
}

void FrontBrowserLookup::awaitChange() {
    if (X11Windows* windows = windows_.get()) {
        windows->awaitReport(seenChanges_,
                             AccessibilityBus::Clock::now() + timeouts_.unpublishedRecheck,
                             cancelled_.descriptor());
    }
}

}  // namespace kazunavi
