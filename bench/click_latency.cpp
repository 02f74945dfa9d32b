// How long a click takes to show: clicks a point of a window through the X
// server's test extension, as a user's click arrives, and waits until the
// window changes its size (the click must be on something that resizes it,
// such as the main window's open/close arrow). Prints the median, the 90th
// percentile and the slowest in milliseconds, or "none" for the clicks that
// showed nothing within a second.
// Usage: click_latency WINDOW_ID X Y [CLICKS]

#include <poll.h>
#include <xcb/xcb.h>
#include <xcb/xtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct Freed {
    void operator()(void* p) const { std::free(p); }
};

void fake(xcb_connection_t* c, std::uint8_t type, std::uint8_t detail, xcb_window_t root,
          std::int16_t x = 0, std::int16_t y = 0) {
    xcb_test_fake_input(c, type, detail, XCB_CURRENT_TIME, root, x, y, 0);
}

// Milliseconds from the click until the window's next size change.
std::optional<double> clickAndWait(xcb_connection_t* c, xcb_window_t root, xcb_window_t window,
                                   std::int16_t x, std::int16_t y) {
    std::unique_ptr<xcb_translate_coordinates_reply_t, Freed> at(xcb_translate_coordinates_reply(
        c, xcb_translate_coordinates(c, window, root, x, y), nullptr));
    if (!at) {
        return std::nullopt;
    }
    fake(c, XCB_MOTION_NOTIFY, 0, root, at->dst_x, at->dst_y);
    const Clock::time_point start = Clock::now();
    fake(c, XCB_BUTTON_PRESS, 1, root);
    fake(c, XCB_BUTTON_RELEASE, 1, root);
    xcb_flush(c);
    const Clock::time_point deadline = start + std::chrono::seconds(1);
    while (Clock::now() < deadline) {
        pollfd readable{xcb_get_file_descriptor(c), POLLIN, 0};
        poll(&readable, 1, 10);
        while (std::unique_ptr<xcb_generic_event_t, Freed> e{xcb_poll_for_event(c)}) {
            if ((e->response_type & 0x7F) == XCB_CONFIGURE_NOTIFY) {
                return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
            }
        }
    }
    return std::nullopt;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: click_latency WINDOW_ID X Y [CLICKS]\n");
        return 2;
    }
    const auto window = static_cast<xcb_window_t>(std::strtoul(argv[1], nullptr, 0));
    const auto x = static_cast<std::int16_t>(std::atoi(argv[2]));
    const auto y = static_cast<std::int16_t>(std::atoi(argv[3]));
    const int clicks = argc > 4 ? std::atoi(argv[4]) : 20;
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c) != 0) {
        std::fprintf(stderr, "click_latency: no X display\n");
        return 2;
    }
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    const std::uint32_t mask = XCB_EVENT_MASK_STRUCTURE_NOTIFY;
    xcb_change_window_attributes(c, window, XCB_CW_EVENT_MASK, &mask);
    std::vector<double> shown;
    int missed = 0;
    for (int i = 0; i < clicks; ++i) {
        if (const auto ms = clickAndWait(c, root, window, x, y)) {
            shown.push_back(*ms);
        } else {
            ++missed;
        }
        // Apart from double clicks, and the window done with its drawing.
        poll(nullptr, 0, 300);
        while (std::unique_ptr<xcb_generic_event_t, Freed> e{xcb_poll_for_event(c)}) {
        }
    }
    xcb_disconnect(c);
    if (shown.empty()) {
        std::printf("none of %d\n", clicks);
        return 1;
    }
    std::sort(shown.begin(), shown.end());
    const auto at = [&](double share) {
        return shown[std::min(shown.size() - 1, static_cast<std::size_t>(share * shown.size()))];
    };
    std::printf("%.1f/%.1f/%.1f", at(0.5), at(0.9), shown.back());
    if (missed > 0) {
        std::printf(" (%d of %d showed nothing)", missed, clicks);
    }
    std::printf("\n");
    return 0;
}
