#include "platform/x11/selection_reader.h"

#include <malloc.h>
#include <poll.h>

#include <algorithm>
#include <cstring>

#include "platform/common/utf8.h"
#include "platform/failure.h"
#include "platform/x11/clipboard_owner_watch.h"
#include "platform/x11/x11_windows.h"

namespace kazunavi {

namespace {

constexpr std::size_t kLargeTransfer = std::size_t{1} << 20;

int eventType(const xcb_generic_event_t* event) {
    return event->response_type & 0x7F;
}

}  // namespace

SelectionReader::SelectionReader(X11Connection& connection, SelectionLimits limits)
    : connection_(connection), limits_(limits), clipboard_(connection.atom("CLIPBOARD")) {
    for (const char* name : {"KAZUNAVI_SELECTION_0", "KAZUNAVI_SELECTION_1", "KAZUNAVI_SELECTION_2",
                             "KAZUNAVI_SELECTION_3"}) {
        properties_.push_back(connection.atom(name));
    }
    xcb_connection_t* c = connection_.get();
    window_ = xcb_generate_id(c);
    xcb_create_window(c, XCB_COPY_FROM_PARENT, window_, connection_.root(), 0, 0, 1, 1, 0,
                      XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, 0, nullptr);
    xfixesEvent_ = watchClipboardOwner(connection_, window_);
}

SelectionReader::~SelectionReader() {
    xcb_destroy_window(connection_.get(), window_);
    xcb_flush(connection_.get());
}

xcb_window_t clipboardOwner(X11Connection& connection) {
    xcb_connection_t* c = connection.get();
    XcbReply<xcb_get_selection_owner_reply_t> reply(xcb_get_selection_owner_reply(
        c, xcb_get_selection_owner(c, connection.atom("CLIPBOARD")), nullptr));
    if (!reply) {
        throw Failure("the X server does not answer");
    }
    return reply->owner;
}

void clearClipboard(X11Connection& connection) {
    xcb_set_selection_owner(connection.get(), XCB_NONE, connection.atom("CLIPBOARD"),
                            XCB_CURRENT_TIME);
    if (clipboardOwner(connection) != XCB_NONE) {
        throw Failure("the clipboard cannot be cleared");
    }
}

xcb_window_t SelectionReader::owner() {
    return clipboardOwner(connection_);
}

void SelectionReader::requireAnswering(xcb_window_t owner) {
    if (!deaf_) {
        return;
    }
    if (deaf_->window != owner) {
        deaf_.reset();  // a new owner gets a fresh chance
        return;
    }
    if (Clock::now() - deaf_->since < deaf_->pause) {
        throw Failure("the program that holds the clipboard does not answer");
    }
    // Time to ask it again; the record stays until it answers.
}

void SelectionReader::ownerDidNotAnswer(xcb_window_t owner) {
    Clock::duration pause = limits_.deafRetryInterval;
    if (deaf_ && deaf_->window == owner) {
        pause = std::min<Clock::duration>(deaf_->pause * 2, limits_.longestDeafRetryInterval);
    }
    deaf_ = DeafOwner{owner, Clock::now(), pause};
    throw Failure("the program that holds the clipboard does not answer");
}

bool SelectionReader::noteOwnerChange(const xcb_generic_event_t* event) {
    if (!isOwnerChange(event, xfixesEvent_)) {
        return false;
    }
    ++ownerChanges_;
    return true;
}

void SelectionReader::dropPendingEvents() {
    while (XcbReply<xcb_generic_event_t> event{xcb_poll_for_event(connection_.get())}) {
        noteOwnerChange(event.get());
    }
}

XcbReply<xcb_generic_event_t> SelectionReader::waitFor(
    Clock::time_point deadline, const std::function<bool(xcb_generic_event_t*)>& match) {
    xcb_connection_t* c = connection_.get();
    for (;;) {
        while (XcbReply<xcb_generic_event_t> event{xcb_poll_for_event(c)}) {
            if (!noteOwnerChange(event.get()) && match(event.get())) {
                return event;
            }
        }
        if (connection_.broken()) {
            throw Failure("the connection to the X server is lost");
        }
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0) {
            return nullptr;
        }
        pollfd readable{xcb_get_file_descriptor(c), POLLIN, 0};
        ::poll(&readable, 1, static_cast<int>(std::min<long long>(left, 1000)));
    }
}

SelectionReader::Transfer SelectionReader::readProperty(xcb_atom_t property) {
    xcb_connection_t* c = connection_.get();
    const auto units = static_cast<std::uint32_t>((limits_.maxBytes + 3) / 4);
    XcbReply<xcb_get_property_reply_t> reply(xcb_get_property_reply(
        c, xcb_get_property(c, 0, window_, property, XCB_GET_PROPERTY_TYPE_ANY, 0, units),
        nullptr));
    if (!reply) {
        throw Failure("the clipboard's text cannot be read");
    }
    if (reply->bytes_after > 0) {
        throw Failure("the clipboard's text is too large");
    }
    Transfer transfer;
    transfer.type = reply->type;
    const auto length = static_cast<std::size_t>(xcb_get_property_value_length(reply.get()));
    transfer.bytes.assign(static_cast<const char*>(xcb_get_property_value(reply.get())), length);
    return transfer;
}

void SelectionReader::readIncrementally(xcb_atom_t property, Transfer& transfer) {
    // The owner sends the text in pieces: each time we delete the property it
    // writes the next piece, and an empty piece ends the transfer.
    xcb_connection_t* c = connection_.get();
    const std::uint32_t watch = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_change_window_attributes(c, window_, XCB_CW_EVENT_MASK, &watch);
    xcb_delete_property(c, window_, property);
    xcb_flush(c);
    std::string text;
    // The owner names a lower bound of the size: room for it at once rather
    // than a text that doubles its room as it grows.
    if (transfer.bytes.size() >= sizeof(std::uint32_t)) {
        std::uint32_t announced = 0;
        std::memcpy(&announced, transfer.bytes.data(), sizeof announced);
        text.reserve(std::min<std::size_t>(announced, limits_.maxBytes));
    }
    bool done = false;
    try {
        while (!done) {
            auto event = waitFor(Clock::now() + limits_.answerTimeout, [&](xcb_generic_event_t* e) {
                if (eventType(e) != XCB_PROPERTY_NOTIFY) {
                    return false;
                }
                auto* notify = reinterpret_cast<xcb_property_notify_event_t*>(e);
                return notify->window == window_ && notify->atom == property &&
                       notify->state == XCB_PROPERTY_NEW_VALUE;
            });
            if (!event) {
                throw Failure("the clipboard's text stopped coming");
            }
            Transfer piece = readProperty(property);
            xcb_delete_property(c, window_, property);
            xcb_flush(c);
            if (piece.bytes.empty()) {
                transfer.type = piece.type;
                done = true;
            } else if (text.size() + piece.bytes.size() > limits_.maxBytes) {
                throw Failure("the clipboard's text is too large");
            } else {
                text += piece.bytes;
            }
        }
    } catch (...) {
        const std::uint32_t none = 0;
        xcb_change_window_attributes(c, window_, XCB_CW_EVENT_MASK, &none);
        xcb_flush(c);
        throw;
    }
    const std::uint32_t none = 0;
    xcb_change_window_attributes(c, window_, XCB_CW_EVENT_MASK, &none);
    xcb_flush(c);
    transfer.bytes = std::move(text);
}

std::optional<SelectionReader::Transfer> SelectionReader::convert(xcb_window_t owner,
                                                                  xcb_atom_t target) {
    xcb_connection_t* c = connection_.get();
    // An answer that came too late for an earlier request must not be taken
    // for this one: it is dropped, or it names another property.
    dropPendingEvents();
    const xcb_atom_t property = properties_[nextProperty_];
    nextProperty_ = (nextProperty_ + 1) % properties_.size();
    xcb_delete_property(c, window_, property);
    xcb_convert_selection(c, window_, clipboard_, target, property, XCB_CURRENT_TIME);
    xcb_flush(c);
    auto event = waitFor(Clock::now() + limits_.answerTimeout, [&](xcb_generic_event_t* e) {
        if (eventType(e) != XCB_SELECTION_NOTIFY) {
            return false;
        }
        auto* notify = reinterpret_cast<xcb_selection_notify_event_t*>(e);
        // A refusal names no property.
        return notify->requestor == window_ && notify->selection == clipboard_ &&
               notify->target == target &&
               (notify->property == property || notify->property == XCB_NONE);
    });
    if (!event) {
        ownerDidNotAnswer(owner);
    }
    deaf_.reset();
    if (reinterpret_cast<xcb_selection_notify_event_t*>(event.get())->property == XCB_NONE) {
        return std::nullopt;
    }
    Transfer transfer = readProperty(property);
    if (transfer.type == connection_.atom("INCR")) {
        readIncrementally(property, transfer);
    } else {
        xcb_delete_property(c, window_, property);
        xcb_flush(c);
    }
    return transfer;
}

std::vector<xcb_atom_t> SelectionReader::targets(xcb_window_t owner, bool& refused) {
    std::optional<Transfer> answer = convert(owner, connection_.atom("TARGETS"));
    refused = !answer;
    std::vector<xcb_atom_t> atoms;
    if (answer) {
        atoms.resize(answer->bytes.size() / sizeof(xcb_atom_t));
        std::copy_n(answer->bytes.data(), atoms.size() * sizeof(xcb_atom_t),
                    reinterpret_cast<char*>(atoms.data()));
    }
    return atoms;
}

std::optional<xcb_atom_t> SelectionReader::textTarget(xcb_window_t owner) {
    requireAnswering(owner);
    bool refused = false;
    const std::vector<xcb_atom_t> offered = targets(owner, refused);
    const xcb_atom_t preferred[] = {connection_.atom("UTF8_STRING"),
                                    connection_.atom("text/plain;charset=utf-8"), XCB_ATOM_STRING,
                                    connection_.atom("TEXT")};
    if (refused) {
        // An old program that does not list its targets: ask for text anyway.
        return preferred[0];
    }
    for (xcb_atom_t wanted : preferred) {
        if (std::find(offered.begin(), offered.end(), wanted) != offered.end()) {
            return wanted;
        }
    }
    return std::nullopt;
}

std::u16string SelectionReader::decode(const Transfer& transfer) {
    if (transfer.type == XCB_ATOM_STRING) {
        return fromLatin1(transfer.bytes);
    }
    // UTF8_STRING, text/plain;charset=utf-8, and what else answers for TEXT.
    std::u16string text = fromUtf8(transfer.bytes);
    if (text.capacity() > text.size() + text.size() / 2) {
        text.shrink_to_fit();  // room for a byte each, and most were not
    }
    return text;
}

SelectionReader::Seen* SelectionReader::seenFrom(xcb_window_t owner) {
    dropPendingEvents();  // the owner changes reported so far
    if (!xfixesEvent_ || !seen_ || seen_->owner != owner || seen_->ownerChanges != ownerChanges_) {
        return nullptr;
    }
    // A long text is read again less often, so that the check costs about as
    // much as for a text of a million characters.
    const auto millions = static_cast<int>(seen_->text ? seen_->text->get().size() / 1'000'000 : 0);
    const bool current = Clock::now() - seen_->at < limits_.recheckInterval * std::max(1, millions);
    return current ? &*seen_ : nullptr;
}

bool SelectionReader::hasText(xcb_window_t current) {
    if (current == XCB_NONE) {
        return false;
    }
    if (const Seen* seen = seenFrom(current)) {
        return seen->target.has_value();
    }
    Seen reading{current, ownerChanges_, Clock::now(), std::nullopt, std::nullopt};
    reading.target = textTarget(current);
    return seen_.emplace(std::move(reading)).target.has_value();
}

std::optional<SharedText> SelectionReader::text(xcb_window_t current) {
    if (current == XCB_NONE) {
        return std::nullopt;
    }
    Seen* seen = seenFrom(current);
    if (seen == nullptr) {
        Seen reading{current, ownerChanges_, Clock::now(), std::nullopt, std::nullopt};
        reading.target = textTarget(current);
        seen = &seen_.emplace(std::move(reading));
    }
    if (seen->target && !seen->text) {
        requireAnswering(current);
        if (std::optional<Transfer> answer = convert(current, *seen->target)) {
            seen->text = decode(*answer);
            if (answer->bytes.size() > kLargeTransfer) {
                // The transfer grew piece by piece in the heap; give its
                // pages back rather than hold them for the program's life.
                answer.reset();
                ::malloc_trim(0);
            }
        }
    }
    return seen->text;
}

void SelectionReader::clear() {
    clearClipboard(connection_);
}

}  // namespace kazunavi
