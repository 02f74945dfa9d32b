#pragma once

// A hung program that holds the clipboard: it takes the CLIPBOARD selection
// and never answers a request for its content.

#include <xcb/xcb.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace kazunavi::testing {

// Takes the clipboard on the connection; XCB_NONE when the server refused.
// The caller must never read the connection's events afterwards.
inline xcb_window_t takeClipboardDeafly(xcb_connection_t* c) {
    const xcb_setup_t* setup = xcb_get_setup(c);
    xcb_screen_t* screen = xcb_setup_roots_iterator(setup).data;
    const xcb_window_t window = xcb_generate_id(c);
    xcb_create_window(c, XCB_COPY_FROM_PARENT, window, screen->root, 0, 0, 1, 1, 0,
                      XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, 0, nullptr);
    const char name[] = "CLIPBOARD";
    xcb_intern_atom_reply_t* atom = xcb_intern_atom_reply(
        c, xcb_intern_atom(c, 0, static_cast<std::uint16_t>(std::strlen(name)), name), nullptr);
    if (atom == nullptr) {
        return XCB_NONE;
    }
    const xcb_atom_t clipboard = atom->atom;
    std::free(atom);
    xcb_set_selection_owner(c, window, clipboard, XCB_CURRENT_TIME);
    xcb_get_selection_owner_reply_t* owner =
        xcb_get_selection_owner_reply(c, xcb_get_selection_owner(c, clipboard), nullptr);
    const bool taken = owner != nullptr && owner->owner == window;
    std::free(owner);
    return taken ? window : XCB_NONE;
}

}  // namespace kazunavi::testing
