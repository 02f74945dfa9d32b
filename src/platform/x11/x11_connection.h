#pragma once

// A connection of our own to the X server, apart from the toolkit's, for the
// few requests the toolkit does not offer: the active window, other windows'
// titles and reading the clipboard with a bounded wait.

#include <xcb/xcb.h>

#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <string_view>

namespace kazunavi {

// Frees what xcb hands out with malloc.
struct XcbFree {
    void operator()(void* p) const { std::free(p); }
};
template <typename T>
using XcbReply = std::unique_ptr<T, XcbFree>;

class X11Connection {
  public:
    // Connects to the display named by $DISPLAY; nullptr when there is none
    // or it cannot be reached.
    static std::unique_ptr<X11Connection> open();

    X11Connection(const X11Connection&) = delete;
    X11Connection& operator=(const X11Connection&) = delete;
    ~X11Connection();

    xcb_connection_t* get() const { return connection_; }
    xcb_window_t root() const { return root_; }
    int screenNumber() const { return screenNumber_; }
    bool broken() const { return xcb_connection_has_error(connection_) != 0; }
    int descriptor() const { return xcb_get_file_descriptor(connection_); }

    // The next event the server sent, or none. Once an event loop watches
    // the descriptor (readByEventLoop), this takes only the events already
    // read along with replies, and the loop calls arrivedEvent when the
    // descriptor is readable: a look at every tick then costs no system call.
    XcbReply<xcb_generic_event_t> nextEvent() const;
    XcbReply<xcb_generic_event_t> arrivedEvent() const;
    void readByEventLoop() { eventLoopReads_ = true; }

    // The atom of a name, interned once and then remembered; XCB_ATOM_NONE
    // when the server cannot be asked.
    xcb_atom_t atom(std::string_view name);

  private:
    X11Connection(xcb_connection_t* connection, int screenNumber);

    xcb_connection_t* connection_;
    int screenNumber_;
    xcb_window_t root_ = XCB_NONE;
    bool eventLoopReads_ = false;
    std::map<std::string, xcb_atom_t, std::less<>> atoms_;
};

}  // namespace kazunavi
