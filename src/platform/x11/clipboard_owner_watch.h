#pragma once

// The window that owns the clipboard, as the X server last reported it.
// With XFIXES the server tells every change of owner as an event; reading the
// events already queued costs no round trip, so asking at every tick of a
// timer wakes neither this program nor the server while nobody copies.
// Without the extension every call asks the server.

#include <xcb/xcb.h>

#include <cstdint>
#include <optional>

#include "platform/x11/x11_connection.h"

namespace kazunavi {

// Asks the server to report the changes of the clipboard's owner to window;
// gives the first event number of XFIXES, none without the extension.
std::optional<std::uint8_t> watchClipboardOwner(X11Connection& connection, xcb_window_t window);

// Whether event is XFIXES's report of a change of a selection's owner.
bool isOwnerChange(const xcb_generic_event_t* event, std::optional<std::uint8_t> xfixesEvent);

// Uses its connection's events: give it a connection of its own.
class ClipboardOwnerWatch {
  public:
    explicit ClipboardOwnerWatch(X11Connection& connection);
    ClipboardOwnerWatch(const ClipboardOwnerWatch&) = delete;
    ClipboardOwnerWatch& operator=(const ClipboardOwnerWatch&) = delete;
    ~ClipboardOwnerWatch();

    // XCB_NONE when nobody owns it; Failure when the server does not answer.
    xcb_window_t owner();
    // Asked of the server now, after a change of our own making.
    xcb_window_t ownerNow();
    // Takes the reports the event loop found on the connection's descriptor.
    void takeArrivedReports();

  private:
    void take(const xcb_generic_event_t& event);

    X11Connection& connection_;
    xcb_window_t window_;
    std::optional<std::uint8_t> xfixesEvent_;
    std::optional<xcb_window_t> owner_;  // none: to be asked
};

}  // namespace kazunavi
