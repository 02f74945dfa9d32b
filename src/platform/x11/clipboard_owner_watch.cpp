#include "platform/x11/clipboard_owner_watch.h"

#include <xcb/xfixes.h>

#include "platform/failure.h"
#include "platform/x11/selection_reader.h"

namespace kazunavi {

std::optional<std::uint8_t> watchClipboardOwner(X11Connection& connection, xcb_window_t window) {
    xcb_connection_t* c = connection.get();
    const xcb_query_extension_reply_t* xfixes = xcb_get_extension_data(c, &xcb_xfixes_id);
    // The version must be asked before the extension may be used.
    XcbReply<xcb_xfixes_query_version_reply_t> version(xcb_xfixes_query_version_reply(
        c, xcb_xfixes_query_version(c, XCB_XFIXES_MAJOR_VERSION, XCB_XFIXES_MINOR_VERSION),
        nullptr));
    if (xfixes == nullptr || !xfixes->present || !version) {
        return std::nullopt;
    }
    xcb_xfixes_select_selection_input(c, window, connection.atom("CLIPBOARD"),
                                      XCB_XFIXES_SELECTION_EVENT_MASK_SET_SELECTION_OWNER |
                                          XCB_XFIXES_SELECTION_EVENT_MASK_SELECTION_WINDOW_DESTROY |
                                          XCB_XFIXES_SELECTION_EVENT_MASK_SELECTION_CLIENT_CLOSE);
    xcb_flush(c);
    return xfixes->first_event;
}

bool isOwnerChange(const xcb_generic_event_t* event, std::optional<std::uint8_t> xfixesEvent) {
    return xfixesEvent &&
           (event->response_type & 0x7F) == *xfixesEvent + XCB_XFIXES_SELECTION_NOTIFY;
}

ClipboardOwnerWatch::ClipboardOwnerWatch(X11Connection& connection)
    : connection_(connection), window_(xcb_generate_id(connection.get())) {
    xcb_create_window(connection_.get(), XCB_COPY_FROM_PARENT, window_, connection_.root(), 0, 0, 1,
                      1, 0, XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, 0, nullptr);
    xfixesEvent_ = watchClipboardOwner(connection_, window_);
}

ClipboardOwnerWatch::~ClipboardOwnerWatch() {
    xcb_destroy_window(connection_.get(), window_);
    xcb_flush(connection_.get());
}

void ClipboardOwnerWatch::take(const xcb_generic_event_t& event) {
    if (isOwnerChange(&event, xfixesEvent_)) {
        owner_.reset();  // the event's owner is the one before for some kinds: ask
    }
}

void ClipboardOwnerWatch::takeArrivedReports() {
    while (XcbReply<xcb_generic_event_t> event = connection_.arrivedEvent()) {
        take(*event);
    }
}

xcb_window_t ClipboardOwnerWatch::owner() {
    while (XcbReply<xcb_generic_event_t> event = connection_.nextEvent()) {
        take(*event);
    }
    if (!owner_ || !xfixesEvent_ || connection_.broken()) {
        return ownerNow();
    }
    return *owner_;
}

xcb_window_t ClipboardOwnerWatch::ownerNow() {
    owner_ = clipboardOwner(connection_);
    return *owner_;
}

}  // namespace kazunavi
