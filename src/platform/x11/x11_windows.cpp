#include "platform/x11/x11_windows.h"

#include <poll.h>
#include <unistd.h>

#include <cerrno>

#include "platform/common/utf8.h"

namespace kazunavi {

std::u16string fromLatin1(std::string_view bytes) {
    std::u16string text;
    text.reserve(bytes.size());
    for (char byte : bytes) {
        text.push_back(static_cast<char16_t>(static_cast<unsigned char>(byte)));
    }
    return text;
}

X11Windows::X11Windows(X11Connection& connection) : connection_(connection) {
    xcb_intern_atom_cookie_t* cookies = xcb_ewmh_init_atoms(connection_.get(), &ewmh_);
    ewmhReady_ = xcb_ewmh_init_atoms_replies(&ewmh_, cookies, nullptr) != 0;
    // The server tells this connection when a property of the root window
    // changes, _NET_ACTIVE_WINDOW among them.
    const std::uint32_t watch = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_change_window_attributes(connection_.get(), connection_.root(), XCB_CW_EVENT_MASK, &watch);
    xcb_flush(connection_.get());
}

X11Windows::~X11Windows() {
    if (ewmhReady_) {
        xcb_ewmh_connection_wipe(&ewmh_);
    }
}

xcb_window_t X11Windows::inputFocus() {
    xcb_connection_t* c = connection_.get();
    XcbReply<xcb_get_input_focus_reply_t> focus(
        xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
    // None (0) and PointerRoot (1) name no window.
    if (!focus || focus->focus == XCB_NONE || focus->focus == XCB_INPUT_FOCUS_POINTER_ROOT) {
        return 0;
    }
    return focus->focus;
}

void X11Windows::takeReports() {
    while (XcbReply<xcb_generic_event_t> event = connection_.nextEvent()) {
        take(*event);
    }
}

void X11Windows::takeArrivedReports() {
    while (XcbReply<xcb_generic_event_t> event = connection_.arrivedEvent()) {
        take(*event);
    }
}

void X11Windows::take(const xcb_generic_event_t& event) {
    if ((event.response_type & 0x7F) != XCB_PROPERTY_NOTIFY) {
        return;  // errors about windows that went away among them
    }
    const auto& change = reinterpret_cast<const xcb_property_notify_event_t&>(event);
    if (change.window == connection_.root() && change.atom == ewmh_._NET_ACTIVE_WINDOW) {
        readActive_ = false;
        ++changes_;
    } else if (change.window == watched_ &&
               (change.atom == ewmh_._NET_WM_NAME || change.atom == XCB_ATOM_WM_NAME)) {
        title_.reset();
        ++changes_;
    }
}

std::uint64_t X11Windows::reportedChanges() {
    takeReports();
    return changes_;
}

bool X11Windows::awaitReport(std::uint64_t seen, std::chrono::steady_clock::time_point deadline,
                             int interrupt) {
    if (!reportsActiveWindow()) {
        return false;
    }
    xcb_connection_t* c = connection_.get();
    for (;;) {
        // Drains what earlier replies brought along: the descriptor tells
        // only of what has not been read yet.
        if (reportedChanges() != seen) {
            return true;
        }
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0 || xcb_connection_has_error(c) != 0) {
            return false;
        }
        pollfd ready[] = {{xcb_get_file_descriptor(c), POLLIN, 0}, {interrupt, POLLIN, 0}};
        if ((::poll(ready, 2, static_cast<int>(left.count())) < 0 && errno != EINTR) ||
            ready[1].revents != 0) {
            return false;
        }
    }
}

void X11Windows::watch(xcb_window_t window) {
    if (window == watched_) {
        return;
    }
    const std::uint32_t none = XCB_EVENT_MASK_NO_EVENT;
    const std::uint32_t changes = XCB_EVENT_MASK_PROPERTY_CHANGE;
    if (watched_ != XCB_NONE) {
        xcb_change_window_attributes(connection_.get(), watched_, XCB_CW_EVENT_MASK, &none);
    }
    // Asked before anything is read of it, so that no change goes unreported.
    xcb_change_window_attributes(connection_.get(), window, XCB_CW_EVENT_MASK, &changes);
    xcb_flush(connection_.get());
    watched_ = window;
    processId_.reset();
    title_.reset();
}

xcb_window_t X11Windows::activeWindow() {
    if (ewmhReady_) {
        // Read once, then again only when the server reports a change: also
        // where no window manager keeps the property (yet).
        takeReports();
        if (!readActive_) {
            readActive_ = true;
            xcb_window_t active = XCB_NONE;
            xcb_get_property_cookie_t cookie =
                xcb_ewmh_get_active_window(&ewmh_, connection_.screenNumber());
            knowsActive_ = xcb_ewmh_get_active_window_reply(&ewmh_, cookie, &active, nullptr) != 0;
            active_ = active;
        }
        if (knowsActive_) {
            return active_;
        }
    }
    // No window manager that keeps the active window: the input focus is it.
    return inputFocus();
}

std::u16string X11Windows::title(xcb_window_t window) {
    if (window != active_ || !knowsActive_) {
        return readTitle(window);
    }
    watch(window);
    takeReports();
    if (!title_) {
        title_ = readTitle(window);
    }
    return *title_;
}

std::u16string X11Windows::readTitle(xcb_window_t window) {
    xcb_connection_t* c = connection_.get();
    if (ewmhReady_) {
        xcb_ewmh_get_utf8_strings_reply_t name{};
        if (xcb_ewmh_get_wm_name_reply(&ewmh_, xcb_ewmh_get_wm_name(&ewmh_, window), &name,
                                       nullptr) != 0) {
            std::u16string text = fromUtf8(std::string_view(name.strings, name.strings_len));
            xcb_ewmh_get_utf8_strings_reply_wipe(&name);
            return text;
        }
    }
    XcbReply<xcb_get_property_reply_t> reply(xcb_get_property_reply(
        c, xcb_get_property(c, 0, window, XCB_ATOM_WM_NAME, XCB_GET_PROPERTY_TYPE_ANY, 0, 4096),
        nullptr));
    if (!reply || reply->format != 8) {
        return {};
    }
    const std::string_view bytes(
        static_cast<const char*>(xcb_get_property_value(reply.get())),
        static_cast<std::size_t>(xcb_get_property_value_length(reply.get())));
    if (reply->type == connection_.atom("UTF8_STRING")) {
        return fromUtf8(bytes);
    }
    // STRING is Latin-1; COMPOUND_TEXT holds Latin-1 too as long as it has
    // no escape sequences, which is what titles nearly always are.
    return fromLatin1(bytes);
}

std::uint32_t X11Windows::processId(xcb_window_t window) {
    if (!ewmhReady_) {
        return 0;
    }
    const bool active = knowsActive_ && window == active_;
    if (active) {
        watch(window);
        if (processId_) {
            return *processId_;
        }
    }
    std::uint32_t pid = 0;
    if (xcb_ewmh_get_wm_pid_reply(&ewmh_, xcb_ewmh_get_wm_pid(&ewmh_, window), &pid, nullptr) ==
        0) {
        pid = 0;
    }
    if (active && pid != 0) {
        processId_ = pid;  // a client may say it late: none is asked again
    }
    return pid;
}

std::optional<xcb_window_t> X11Windows::othersActiveWindow() {
    const xcb_window_t active = activeWindow();
    if (active == 0) {
        return std::nullopt;
    }
    const std::uint32_t pid = processId(active);
    if (pid == 0 || pid == static_cast<std::uint32_t>(::getpid())) {
        return std::nullopt;
    }
    return active;
}

void X11Windows::keepAbove(xcb_window_t window) {
    if (!ewmhReady_) {
        return;
    }
    xcb_ewmh_request_change_wm_state(&ewmh_, connection_.screenNumber(), window,
                                     XCB_EWMH_WM_STATE_ADD, ewmh_._NET_WM_STATE_ABOVE, XCB_NONE,
                                     XCB_EWMH_CLIENT_SOURCE_TYPE_NORMAL);
    xcb_flush(connection_.get());
}

X11Windows* OwnX11Windows::open() {
    if (connection_ && connection_->broken()) {
        close();
    }
    if (!connection_) {
        connection_ = X11Connection::open();
        if (connection_) {
            windows_ = std::make_unique<X11Windows>(*connection_);
        }
    }
    return windows_.get();
}

void OwnX11Windows::close() {
    windows_.reset();
    connection_.reset();
}

}  // namespace kazunavi
