#pragma once

// The clipboard of other programs, read on a thread of its own so that a slow
// or hung owner never holds up the window's thread. A look asks for a
// reading and waits for it a short while (`patience`, far less than a
// click may take); an answer that comes later is the answer of the next look.
// Until then a look gives the answer before, so the watcher sees no change
// rather than a wrong one.

#include <xcb/xcb.h>

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <stop_token>
#include <string>
#include <thread>

#include "platform/shared_text.h"
#include "platform/x11/clipboard_owner_watch.h"
#include "platform/x11/selection_reader.h"
#include "platform/x11/x11_connection.h"

namespace kazunavi {

class BackgroundSelection {
  public:
    struct Answer {
        xcb_window_t owner = XCB_NONE;
        bool hasText = false;
        SharedText text;
        std::optional<std::string> failure;  // why the reading failed
    };

    // Both connections are the reader's alone: `direct` for the window's
    // thread (the owner, clearing), `reading` for the thread that reads.
    BackgroundSelection(std::unique_ptr<X11Connection> direct,
                        std::unique_ptr<X11Connection> reading, SelectionLimits limits = {},
                        std::chrono::milliseconds patience = std::chrono::milliseconds(20));
    BackgroundSelection(const BackgroundSelection&) = delete;
    BackgroundSelection& operator=(const BackgroundSelection&) = delete;
    ~BackgroundSelection() = default;

    // The window that owns the clipboard, as the X server last reported it
    // (no round trip while nobody copies), or asked of it now.
    xcb_window_t owner() { return ownerWatch_.owner(); }
    xcb_window_t ownerNow() { return ownerWatch_.ownerNow(); }
    // The connection whose events tell the owner's changes, and their reader.
    X11Connection& ownerConnection() { return *direct_; }
    void takeArrivedOwnerReports() { ownerWatch_.takeArrivedReports(); }
    // Takes the clipboard away; Failure when it still has an owner.
    void clear() { clearClipboard(*direct_); }

    // Asks for a reading of what owner offers (unless one is under way) and
    // gives the newest answer at hand after at most `patience`; nullopt
    // before the first.
    std::optional<Answer> look(xcb_window_t owner);
    // Nobody owns the clipboard: the last answer, which may hold a text of
    // many megabytes, goes, and with it its memory.
    void forget();

  private:
    void serve(std::stop_token stop);

    std::unique_ptr<X11Connection> direct_;
    std::unique_ptr<X11Connection> reading_;
    ClipboardOwnerWatch ownerWatch_;  // on direct_
    // The reading thread's; anyone's under the lock while no reading is under way.
    SelectionReader reader_;
    std::chrono::milliseconds patience_;

    std::mutex mutex_;
    std::condition_variable_any asked_;
    std::condition_variable answered_;
    std::optional<xcb_window_t> wanted_;  // the owner of the reading asked for
    bool reading_now_ = false;
    std::uint64_t answers_ = 0;
    std::optional<Answer> latest_;
    std::jthread thread_;  // last: stopped and joined before the rest goes
};

}  // namespace kazunavi
