#pragma once

// Another program that holds the clipboard, on a connection and a thread of
// its own: it answers requests for its text in the ways real programs do
// (UTF-8, Latin-1 only, in pieces), or never.

#include <poll.h>
#include <xcb/xcb.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <map>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace kazunavi::testing {

class TestOwner {
  public:
    enum class Offers { Utf8, Latin1Only, ImageOnly, InPieces };

    // delay: how long it takes to answer each request.
    TestOwner(std::string bytes, Offers offers, std::size_t pieceSize = 65536,
              std::chrono::milliseconds delay = std::chrono::milliseconds(0))
        : bytes_(std::move(bytes)), offers_(offers), pieceSize_(pieceSize), delay_(delay) {
        c_ = xcb_connect(nullptr, nullptr);
        if (xcb_connection_has_error(c_) != 0) {
            throw std::runtime_error("no X display");
        }
        xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c_)).data;
        window_ = xcb_generate_id(c_);
        xcb_create_window(c_, XCB_COPY_FROM_PARENT, window_, screen->root, 0, 0, 1, 1, 0,
                          XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, 0, nullptr);
        for (const char* name : {"CLIPBOARD", "TARGETS", "UTF8_STRING", "INCR", "image/png"}) {
            atoms_[name] = atom(name);
        }
        xcb_set_selection_owner(c_, window_, atoms_["CLIPBOARD"], XCB_CURRENT_TIME);
        // A round trip: the server has made it the owner before anybody asks.
        auto* owner = xcb_get_selection_owner_reply(
            c_, xcb_get_selection_owner(c_, atoms_["CLIPBOARD"]), nullptr);
        const bool owns = owner != nullptr && owner->owner == window_;
        std::free(owner);
        if (!owns) {
            xcb_disconnect(c_);
            throw std::runtime_error("the clipboard could not be taken");
        }
        thread_ = std::thread([this] { serve(); });
    }
    TestOwner(const TestOwner&) = delete;
    TestOwner& operator=(const TestOwner&) = delete;
    ~TestOwner() {
        stop_ = true;
        thread_.join();
        xcb_disconnect(c_);
    }

    xcb_window_t window() const { return window_; }
    int requests() const { return requests_; }

  private:
    xcb_atom_t atom(const char* name) {
        auto* reply = xcb_intern_atom_reply(
            c_, xcb_intern_atom(c_, 0, static_cast<std::uint16_t>(std::strlen(name)), name),
            nullptr);
        const xcb_atom_t a = reply->atom;
        std::free(reply);
        return a;
    }

    void notify(const xcb_selection_request_event_t& request, xcb_atom_t property) {
        xcb_selection_notify_event_t answer{};
        answer.response_type = XCB_SELECTION_NOTIFY;
        answer.time = request.time;
        answer.requestor = request.requestor;
        answer.selection = request.selection;
        answer.target = request.target;
        answer.property = property;
        xcb_send_event(c_, 0, request.requestor, XCB_EVENT_MASK_NO_EVENT,
                       reinterpret_cast<const char*>(&answer));
        xcb_flush(c_);
    }

    void answer(const xcb_selection_request_event_t& request) {
        ++requests_;
        std::this_thread::sleep_for(delay_);
        const xcb_atom_t textType = offers_ == Offers::Latin1Only
                                        ? static_cast<xcb_atom_t>(XCB_ATOM_STRING)
                                        : atoms_["UTF8_STRING"];
        if (request.target == atoms_["TARGETS"]) {
            std::vector<xcb_atom_t> targets{atoms_["TARGETS"]};
            targets.push_back(offers_ == Offers::ImageOnly ? atoms_["image/png"] : textType);
            xcb_change_property(c_, XCB_PROP_MODE_REPLACE, request.requestor, request.property,
                                XCB_ATOM_ATOM, 32, static_cast<std::uint32_t>(targets.size()),
                                targets.data());
            notify(request, request.property);
            return;
        }
        if (offers_ == Offers::ImageOnly || request.target != textType) {
            notify(request, XCB_NONE);
            return;
        }
        if (offers_ == Offers::InPieces) {
            // The reader deletes the property; each deletion asks for the next piece.
            const std::uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE;
            xcb_change_window_attributes(c_, request.requestor, XCB_CW_EVENT_MASK, &mask);
            const auto size = static_cast<std::uint32_t>(bytes_.size());
            xcb_change_property(c_, XCB_PROP_MODE_REPLACE, request.requestor, request.property,
                                atoms_["INCR"], 32, 1, &size);
            incr_ = Incr{request.requestor, request.property, textType, 0, true};
            notify(request, request.property);
            return;
        }
        xcb_change_property(c_, XCB_PROP_MODE_REPLACE, request.requestor, request.property,
                            textType, 8, static_cast<std::uint32_t>(bytes_.size()), bytes_.data());
        notify(request, request.property);
    }

    void nextPiece(const xcb_property_notify_event_t& e) {
        if (!incr_.active || e.window != incr_.requestor || e.atom != incr_.property ||
            e.state != XCB_PROPERTY_DELETE) {
            return;
        }
        const std::size_t left = bytes_.size() - incr_.sent;
        const std::size_t piece = std::min(left, pieceSize_);
        xcb_change_property(c_, XCB_PROP_MODE_REPLACE, incr_.requestor, incr_.property, incr_.type,
                            8, static_cast<std::uint32_t>(piece), bytes_.data() + incr_.sent);
        incr_.sent += piece;
        if (piece == 0) {
            incr_.active = false;  // the empty piece ends the transfer
        }
        xcb_flush(c_);
    }

    void serve() {
        while (!stop_) {
            pollfd readable{xcb_get_file_descriptor(c_), POLLIN, 0};
            ::poll(&readable, 1, 20);
            while (xcb_generic_event_t* e = xcb_poll_for_event(c_)) {
                const int type = e->response_type & 0x7F;
                if (type == XCB_SELECTION_REQUEST) {
                    answer(*reinterpret_cast<xcb_selection_request_event_t*>(e));
                } else if (type == XCB_PROPERTY_NOTIFY) {
                    nextPiece(*reinterpret_cast<xcb_property_notify_event_t*>(e));
                }
                std::free(e);
            }
        }
    }

    struct Incr {
        xcb_window_t requestor = XCB_NONE;
        xcb_atom_t property = XCB_NONE;
        xcb_atom_t type = XCB_NONE;
        std::size_t sent = 0;
        bool active = false;
    };

    std::string bytes_;
    Offers offers_;
    std::size_t pieceSize_;
    std::chrono::milliseconds delay_;
    xcb_connection_t* c_ = nullptr;
    xcb_window_t window_ = XCB_NONE;
    std::map<std::string, xcb_atom_t> atoms_;
    std::thread thread_;
    std::atomic<bool> stop_{false};
    std::atomic<int> requests_{0};
    Incr incr_;
};

}  // namespace kazunavi::testing
