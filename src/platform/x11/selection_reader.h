#pragma once

// Reads the text of the CLIPBOARD selection that another program owns, on a
// connection of our own and with a bounded wait.
//
// On X11 the clipboard's text stays with the program that copied it, and every
// read asks that program. A program that is busy or hung never answers; the
// toolkit's own clipboard then blocks the window for seconds at every read.
// Here one request waits at most `answerTimeout`, and an owner that let a
// request time out is not asked again for a while (reads fail at once
// meanwhile; the pause doubles with every further silence, up to a limit), so
// a hung owner costs one short stall now and then instead of a frozen window.
//
// A text read once is not asked for again while the X server reports no new
// owner of the clipboard (every copy takes it anew, even by the same window),
// up to `recheckInterval` (that many times for each million characters of a
// longer text): an owner could change its text without taking the clipboard
// again. Without the XFIXES extension every read asks.

#include <xcb/xcb.h>

#include <chrono>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/shared_text.h"
#include "platform/x11/x11_connection.h"

namespace kazunavi {

struct SelectionLimits {
    std::chrono::milliseconds answerTimeout{250};
    std::chrono::milliseconds deafRetryInterval{5000};
    std::chrono::milliseconds longestDeafRetryInterval{60000};
    std::size_t maxBytes = std::size_t{64} << 20;
    std::chrono::milliseconds recheckInterval{3000};
};

// The window that owns the clipboard (XCB_NONE when nobody does), and taking
// it away from whoever owns it (Failure when it still has an owner
// afterwards): questions to the X server alone, never to the owner.
xcb_window_t clipboardOwner(X11Connection& connection);
void clearClipboard(X11Connection& connection);

class SelectionReader {
  public:
    explicit SelectionReader(X11Connection& connection, SelectionLimits limits = {});
    SelectionReader(const SelectionReader&) = delete;
    SelectionReader& operator=(const SelectionReader&) = delete;
    ~SelectionReader();

    // The window that owns the clipboard; XCB_NONE when nobody does.
    xcb_window_t owner();

    // Whether the owner offers plain text. Failure when it does not answer.
    bool hasText() { return hasText(owner()); }
    bool hasText(xcb_window_t currentOwner);
    // The owner's plain text; nullopt when there is no owner or it offers no
    // text. Failure when it does not answer or the text is too large.
    std::optional<SharedText> text() { return text(owner()); }
    std::optional<SharedText> text(xcb_window_t currentOwner);

    // Takes the clipboard away from whoever owns it. Failure when it still
    // has an owner afterwards.
    void clear();
    // The last answer is of no more use: its text, however large, goes.
    void forget() { seen_.reset(); }

  private:
    struct Transfer {
        xcb_atom_t type = XCB_NONE;
        std::string bytes;
    };
    using Clock = std::chrono::steady_clock;

    std::vector<xcb_atom_t> targets(xcb_window_t owner, bool& refused);
    std::optional<xcb_atom_t> textTarget(xcb_window_t owner);
    // Asks the owner to convert the clipboard to target; nullopt when it refuses.
    std::optional<Transfer> convert(xcb_window_t owner, xcb_atom_t target);
    Transfer readProperty(xcb_atom_t property);
    void readIncrementally(xcb_atom_t property, Transfer& transfer);
    void requireAnswering(xcb_window_t owner);
    [[noreturn]] void ownerDidNotAnswer(xcb_window_t owner);
    // The next event that matches, or nullptr at the deadline.
    XcbReply<xcb_generic_event_t> waitFor(Clock::time_point deadline,
                                          const std::function<bool(xcb_generic_event_t*)>& match);
    void dropPendingEvents();
    // Counts the XFIXES reports of a new owner; true for such an event.
    bool noteOwnerChange(const xcb_generic_event_t* event);
    // The last answer of this owner, while nothing can have changed it.
    struct Seen;
    Seen* seenFrom(xcb_window_t owner);
    std::u16string decode(const Transfer& transfer);

    X11Connection& connection_;
    SelectionLimits limits_;
    xcb_window_t window_ = XCB_NONE;
    xcb_atom_t clipboard_;
    // The answers arrive in these properties of our window, one after the
    // other, so that a late answer to an earlier request (into another
    // property) is never taken for the answer to this one.
    std::vector<xcb_atom_t> properties_;
    std::size_t nextProperty_ = 0;
    struct DeafOwner {
        xcb_window_t window;
        Clock::time_point since;
        Clock::duration pause;  // until it is asked again
    };
    std::optional<DeafOwner> deaf_;
    // The first event number of XFIXES; none without the extension.
    std::optional<std::uint8_t> xfixesEvent_;
    std::uint64_t ownerChanges_ = 0;
    struct Seen {
        xcb_window_t owner;
        std::uint64_t ownerChanges;  // when the reading began
        Clock::time_point at;
        std::optional<xcb_atom_t> target;  // the text target it offers
        std::optional<SharedText> text;
    };
    std::optional<Seen> seen_;
};

}  // namespace kazunavi
