// How long a window's thread is held up: sends the window the window
// manager's ping (_NET_WM_PING) every few milliseconds for a span and waits
// for each answer, which the toolkit gives from the window's own thread.
// Prints the median and slowest answer and the time the thread was held, the
// sum of the answers slower than 5 ms, in milliseconds.
// Usage: ping_latency WINDOW_ID SECONDS

#include <poll.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct Freed {
    void operator()(void* p) const { std::free(p); }
};

xcb_atom_t atom(xcb_connection_t* c, const char* name) {
    std::unique_ptr<xcb_intern_atom_reply_t, Freed> reply(xcb_intern_atom_reply(
        c, xcb_intern_atom(c, 0, static_cast<std::uint16_t>(std::strlen(name)), name), nullptr));
    return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: ping_latency WINDOW_ID SECONDS\n");
        return 2;
    }
    const auto window = static_cast<xcb_window_t>(std::strtoul(argv[1], nullptr, 0));
    const auto span = std::chrono::duration<double>(std::atof(argv[2]));
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c) != 0) {
        std::fprintf(stderr, "ping_latency: no X display\n");
        return 2;
    }
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    // The answer goes to the root window, to those that watch its children
    // (or, as Qt sends it, the root window itself).
    const std::uint32_t mask = XCB_EVENT_MASK_STRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(c, root, XCB_CW_EVENT_MASK, &mask);
    const xcb_atom_t protocols = atom(c, "WM_PROTOCOLS");
    const xcb_atom_t ping = atom(c, "_NET_WM_PING");
    std::vector<double> answers;
    int unanswered = 0;
    const Clock::time_point end = Clock::now() + std::chrono::duration_cast<Clock::duration>(span);
    for (std::uint32_t n = 1; Clock::now() < end; ++n) {
        xcb_client_message_event_t event{};
        event.response_type = XCB_CLIENT_MESSAGE;
        event.format = 32;
        event.window = window;
        event.type = protocols;
        event.data.data32[0] = ping;
        event.data.data32[1] = n;  // the time field: which ping this is
        event.data.data32[2] = window;
        const Clock::time_point sent = Clock::now();
        xcb_send_event(c, 0, window, XCB_EVENT_MASK_NO_EVENT,
                       reinterpret_cast<const char*>(&event));
        xcb_flush(c);
        bool answered = false;
        while (!answered && Clock::now() - sent < std::chrono::seconds(2)) {
            pollfd readable{xcb_get_file_descriptor(c), POLLIN, 0};
            poll(&readable, 1, 10);
            while (std::unique_ptr<xcb_generic_event_t, Freed> e{xcb_poll_for_event(c)}) {
                const auto* reply = reinterpret_cast<xcb_client_message_event_t*>(e.get());
                if ((e->response_type & 0x7F) == XCB_CLIENT_MESSAGE &&
                    reply->data.data32[0] == ping && reply->data.data32[1] == n) {
                    answers.push_back(
                        std::chrono::duration<double, std::milli>(Clock::now() - sent).count());
                    answered = true;
                }
            }
        }
        unanswered += answered ? 0 : 1;
        poll(nullptr, 0, 2);
    }
    xcb_disconnect(c);
    if (answers.empty()) {
        std::printf("none answered\n");
        return 1;
    }
    double held = 0;
    for (double ms : answers) {
        held += ms > 5 ? ms : 0;
    }
    std::sort(answers.begin(), answers.end());
    std::printf("%.1f/%.1f/%.0f", answers[answers.size() / 2], answers.back(), held);
    if (unanswered > 0) {
        std::printf(", %d unanswered", unanswered);
    }
    std::printf("\n");
    return 0;
}
