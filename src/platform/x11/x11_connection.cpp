#include "platform/x11/x11_connection.h"

namespace kazunavi {

std::unique_ptr<X11Connection> X11Connection::open() {
    int screenNumber = 0;
    xcb_connection_t* connection = xcb_connect(nullptr, &screenNumber);
    if (xcb_connection_has_error(connection) != 0) {
        xcb_disconnect(connection);
        return nullptr;
    }
    return std::unique_ptr<X11Connection>(new X11Connection(connection, screenNumber));
}

X11Connection::X11Connection(xcb_connection_t* connection, int screenNumber)
    : connection_(connection), screenNumber_(screenNumber) {
    xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(connection_));
    for (int i = 0; it.rem > 0; xcb_screen_next(&it), ++i) {
        if (i == screenNumber_) {
            root_ = it.data->root;
            break;
        }
    }
}

X11Connection::~X11Connection() {
    xcb_disconnect(connection_);
}

XcbReply<xcb_generic_event_t> X11Connection::nextEvent() const {
    return XcbReply<xcb_generic_event_t>(eventLoopReads_ ? xcb_poll_for_queued_event(connection_)
                                                         : xcb_poll_for_event(connection_));
}

XcbReply<xcb_generic_event_t> X11Connection::arrivedEvent() const {
    return XcbReply<xcb_generic_event_t>(xcb_poll_for_event(connection_));
}

xcb_atom_t X11Connection::atom(std::string_view name) {
    if (auto found = atoms_.find(name); found != atoms_.end()) {
        return found->second;
    }
    xcb_intern_atom_cookie_t cookie =
        xcb_intern_atom(connection_, 0, static_cast<std::uint16_t>(name.size()), name.data());
    XcbReply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(connection_, cookie, nullptr));
    if (!reply) {
        return XCB_ATOM_NONE;
    }
    atoms_.emplace(std::string(name), reply->atom);
    return reply->atom;
}

}  // namespace kazunavi
