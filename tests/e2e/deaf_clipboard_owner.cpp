// Holds the clipboard and never answers, until it is killed. Prints
// "owner <window id>" once it holds it.

#include <unistd.h>

#include <cstdio>

#include "deaf_owner.h"

int main() {
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c) != 0) {
        std::fprintf(stderr, "deaf_clipboard_owner: no X display\n");
        return 1;
    }
    const xcb_window_t window = kazunavi::testing::takeClipboardDeafly(c);
    if (window == XCB_NONE) {
        std::fprintf(stderr, "deaf_clipboard_owner: the clipboard could not be taken\n");
        return 1;
    }
    std::printf("owner 0x%x\n", window);
    std::fflush(stdout);
    for (;;) {
        ::pause();  // requests pile up unread
    }
}
