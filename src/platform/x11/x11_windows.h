#pragma once

// What the window manager knows about the desktop's windows: which one is
// active, their titles, and keeping one of ours above the others.

#include <xcb/xcb.h>
#include <xcb/xcb_ewmh.h>

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "platform/x11/x11_connection.h"

namespace kazunavi {

// Uses its connection's events (the root window's property changes): give it a
// connection of its own.
class X11Windows {
  public:
    explicit X11Windows(X11Connection& connection);
    X11Windows(const X11Windows&) = delete;
    X11Windows& operator=(const X11Windows&) = delete;
    ~X11Windows();

    // The window that has the user's input: _NET_ACTIVE_WINDOW where the
    // window manager keeps it, else the X input focus. 0 for none. The
    // property is read again only after the server reported a change of it,
    // so asking ten times a second costs no round trip to the server.
    xcb_window_t activeWindow();

    // _NET_WM_NAME, else WM_NAME; empty when the window has no title or is
    // gone. The active window's title is read again only after the server
    // reported a change of it.
    std::u16string title(xcb_window_t window);

    // _NET_WM_PID: the process that shows the window, as its client says; 0
    // when it does not say or the window is gone. Read once while the
    // window stays active.
    std::uint32_t processId(xcb_window_t window);

    // The active window when it shows another program's page: none when no
    // window is active, or its client names no process or this one.
    std::optional<xcb_window_t> othersActiveWindow();

    // Asks the window manager to keep a mapped window above all windows that
    // are not kept above (_NET_WM_STATE_ABOVE).
    void keepAbove(xcb_window_t window);

    // Whether the window manager keeps the active window, so that its
    // changes are reported (as of the last look at it).
    bool reportsActiveWindow() const { return ewmhReady_ && knowsActive_; }
    // Counts the changes of the active window and of its title that the
    // server reported so far.
    std::uint64_t reportedChanges();
    // Whether a change was reported after `seen` (a count of
    // reportedChanges()): waits for one until the deadline, or until
    // `interrupt`, a descriptor, is readable. False at once where the active
    // window is not reported (no window manager that keeps it).
    bool awaitReport(std::uint64_t seen, std::chrono::steady_clock::time_point deadline,
                     int interrupt);

    // Takes the reports the event loop found on the connection's descriptor.
    void takeArrivedReports();

  private:
    xcb_window_t inputFocus();
    // Takes the property changes the server reported: of _NET_ACTIVE_WINDOW,
    // and of the active window's title.
    void takeReports();
    void take(const xcb_generic_event_t& event);
    std::u16string readTitle(xcb_window_t window);
    // From now on the server reports the changes of this window's properties.
    void watch(xcb_window_t window);

    X11Connection& connection_;
    xcb_ewmh_connection_t ewmh_{};
    bool ewmhReady_ = false;
    bool readActive_ = false;   // the property was read since its last change
    bool knowsActive_ = false;  // active_ is what the property last said
    xcb_window_t active_ = XCB_NONE;
    // What is known of the active window; none: to be read.
    xcb_window_t watched_ = XCB_NONE;
    std::optional<std::uint32_t> processId_;
    std::optional<std::u16string> title_;
    std::uint64_t changes_ = 0;
};

// The windows seen through a connection of their own, for a thread of its
// own: opened when first needed, and again after the connection broke.
class OwnX11Windows {
  public:
    // nullptr while no X server can be reached.
    X11Windows* open();
    // As last opened; nullptr when closed.
    X11Windows* get() const { return windows_.get(); }
    void close();

  private:
    std::unique_ptr<X11Connection> connection_;
    std::unique_ptr<X11Windows> windows_;  // on connection_
};

// Latin-1 bytes (the STRING type of X properties) as UTF-16.
std::u16string fromLatin1(std::string_view bytes);

}  // namespace kazunavi
