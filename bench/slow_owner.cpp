// A program that holds the clipboard and answers every request only after a
// pause, taking the clipboard anew every second as a user copying again
// would. Usage: slow_owner PAUSE_MS TEXT
#include <xcb/xcb.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

#include "deaf_owner.h"

namespace {

xcb_atom_t atom(xcb_connection_t* c, const char* name) {
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
        c, xcb_intern_atom(c, 0, static_cast<std::uint16_t>(std::strlen(name)), name), nullptr);
    const xcb_atom_t a = reply != nullptr ? reply->atom : XCB_NONE;
    std::free(reply);
    return a;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc != 3) {
        return 2;
    }
    const auto pause = std::chrono::milliseconds(std::atoi(argv[1]));
    const std::string text = argv[2];
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    const xcb_window_t window = kazunavi::testing::takeClipboardDeafly(c);
    if (window == XCB_NONE) {
        return 1;
    }
    const xcb_atom_t clipboard = atom(c, "CLIPBOARD");
    const xcb_atom_t utf8 = atom(c, "UTF8_STRING");
    const xcb_atom_t targets[] = {atom(c, "TARGETS"), utf8};
    auto taken = std::chrono::steady_clock::now();
    for (;;) {
        if (std::chrono::steady_clock::now() - taken > std::chrono::seconds(1)) {
            xcb_set_selection_owner(c, window, clipboard, XCB_CURRENT_TIME);
            xcb_flush(c);
            taken = std::chrono::steady_clock::now();
        }
        xcb_generic_event_t* event = xcb_poll_for_event(c);
        if (event == nullptr) {
            if (xcb_connection_has_error(c) != 0) {
                return 1;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
            continue;
        }
        if ((event->response_type & 0x7F) == XCB_SELECTION_REQUEST) {
            const auto* r = reinterpret_cast<xcb_selection_request_event_t*>(event);
            std::this_thread::sleep_for(pause);
            if (r->target == utf8) {
                xcb_change_property(c, XCB_PROP_MODE_REPLACE, r->requestor, r->property, utf8, 8,
                                    static_cast<std::uint32_t>(text.size()), text.data());
            } else {
                xcb_change_property(c, XCB_PROP_MODE_REPLACE, r->requestor, r->property,
                                    XCB_ATOM_ATOM, 32, 2, targets);
            }
            xcb_selection_notify_event_t notify{
                XCB_SELECTION_NOTIFY, 0,         0,          r->time, r->requestor,
                r->selection,         r->target, r->property};
            xcb_send_event(c, 0, r->requestor, 0, reinterpret_cast<const char*>(&notify));
            xcb_flush(c);
        }
        std::free(event);
    }
}
