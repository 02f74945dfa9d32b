// The X11 services on a real X server (run by tests/support/xsession.sh):
// the clipboard of other programs read with bounded waits, a write that does
// not take, the step keys.

#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>
#include <thread>
#include <vector>

#include "platform/failure.h"
#include "platform/qt/qt_clipboard.h"
#include "platform/qt/qt_x11_events.h"
#include "platform/x11/background_selection.h"
#include "platform/x11/clipboard_owner_watch.h"
#include "platform/x11/global_keys.h"
#include "platform/x11/selection_reader.h"
#include "platform/x11/x11_connection.h"
#include "x11_fixture.h"

namespace kazunavi::testing {
namespace {

using std::chrono::milliseconds;
using Request = xcb_selection_request_event_t;

// Another program copies: xclip holds the bytes until the clipboard is taken.
void otherProgramCopies(SelectionReader& reader, const std::string& bytes,
                        const std::string& type = "UTF8_STRING") {
    const xcb_window_t before = reader.owner();
    FILE* xclip = popen(("xclip -selection clipboard -t " + type).c_str(), "w");
    std::fwrite(bytes.data(), 1, bytes.size(), xclip);
    ASSERT_EQ(pclose(xclip), 0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return reader.owner() != before; }));
}

// A program holding the clipboard that answers only when the test says.
class Holder {
  public:
    explicit Holder(X11Connection& x)
        : c_(xcb_connect(nullptr, nullptr)),
          window_(xcb_generate_id(c_)),
          clipboard_(x.atom("CLIPBOARD")) {
        xcb_create_window(c_, XCB_COPY_FROM_PARENT, window_, x.root(), 0, 0, 1, 1, 0,
                          XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, 0, nullptr);
        takeClipboard();
    }
    // As at every copy: the owner takes the clipboard (again).
    void takeClipboard() {
        xcb_set_selection_owner(c_, window_, clipboard_, XCB_CURRENT_TIME);
        sync();
    }
    ~Holder() { xcb_disconnect(c_); }
    // A round trip: all that the server sent before is at hand afterwards.
    void sync() { std::free(xcb_get_input_focus_reply(c_, xcb_get_input_focus(c_), nullptr)); }
    // The requests since the last look; with wait, up to 3 s for the first.
    std::vector<Request> requests(bool wait = false) {
        std::vector<Request> got;
        for (int i = 0; i < 300 && (i == 0 || (wait && got.empty())); ++i) {
            std::this_thread::sleep_for(milliseconds(i == 0 ? 0 : 10));
            sync();
            while (xcb_generic_event_t* e = xcb_poll_for_event(c_)) {
                if ((e->response_type & 0x7F) == XCB_SELECTION_REQUEST) {
                    got.push_back(*reinterpret_cast<Request*>(e));
                }
                std::free(e);
            }
        }
        return got;
    }
    void answer(const Request& r, xcb_atom_t type, int format, const void* data, int units) {
        xcb_change_property(c_, XCB_PROP_MODE_REPLACE, r.requestor, r.property, type,
                            static_cast<std::uint8_t>(format), units, data);
        xcb_selection_notify_event_t notify{
            XCB_SELECTION_NOTIFY, 0, 0, r.time, r.requestor, r.selection, r.target, r.property};
        xcb_send_event(c_, 0, r.requestor, 0, reinterpret_cast<const char*>(&notify));
        sync();
    }

  private:
    xcb_connection_t* c_;
    xcb_window_t window_;
    xcb_atom_t clipboard_;
};

// Asks whether the holder offers text and reads it, the holder answering the
// requests (its targets, its text) until none comes for 3 s.
std::optional<std::u16string> readAnswered(SelectionReader& reader, Holder& holder,
                                           X11Connection& x, const std::string& text) {
    const xcb_atom_t utf8 = x.atom("UTF8_STRING");
    const xcb_atom_t offered[] = {x.atom("TARGETS"), utf8};
    std::jthread answers([&] {  // joined also when a read fails
        for (int answered = 0; answered < 2;) {
            const std::vector<Request> requests = holder.requests(true);
            for (const Request& r : requests) {
                if (r.target == utf8) {
                    holder.answer(r, utf8, 8, text.data(), static_cast<int>(text.size()));
                } else {
                    holder.answer(r, XCB_ATOM_ATOM, 32, offered, 2);
                }
            }
            answered += requests.empty() ? 2 : static_cast<int>(requests.size());
        }
    });
    const bool offersText = reader.hasText();
    const std::optional<SharedText> read = reader.text();
    return offersText && read ? std::optional(read->get()) : std::nullopt;
}

TEST_F(X11Test, ReadsTheTextThatOtherProgramsOffer) {
    std::string large;  // beyond one request: it comes in pieces
    for (int i = 0; large.size() < 3000000; ++i) {
        large += "http://host/page" + std::to_string(i) + ".html\n";
    }
    const struct {
        std::string bytes;
        const char* type;
        std::optional<std::u16string> text;
    } offers[] = {
        {"http://例え.jp/p[01-05].jpg", "UTF8_STRING", u"http://例え.jp/p[01-05].jpg"},
        {"caf\xE9", "STRING", u"café"},  // Latin-1 where no UTF-8 is offered
        {"\x89PNG", "image/png", std::nullopt},
        {large, "UTF8_STRING", std::u16string(large.begin(), large.end())},
        {"after", "UTF8_STRING", u"after"},  // the reader goes on after the pieces
    };
    SelectionReader reader(*x11_);
    for (const auto& offer : offers) {
        otherProgramCopies(reader, offer.bytes, offer.type);
        EXPECT_EQ(reader.hasText(), offer.text.has_value()) << offer.type;
        EXPECT_TRUE(reader.text() == offer.text) << offer.type;
    }
    reader.clear();  // takes the clipboard away: no owner, no text
    EXPECT_FALSE(reader.hasText());
    EXPECT_EQ(reader.text(), std::nullopt);

    // Beyond the limit, at once or in pieces (of 1 MB), a text is a failure.
    for (auto [limit, bytes] : {std::pair{std::size_t{500000}, std::string(600000, 'a')},
                                std::pair{std::size_t{1500000}, large}}) {
        SelectionReader limited(*x11_, {.maxBytes = limit});
        otherProgramCopies(reader, bytes);
        EXPECT_THROW(limited.text(), Failure) << limit;
    }

    // Another program took the clipboard and let it go without our program
    // seeing any event since: Qt's time may be too old for a write to take.
    BackgroundSelection selection(X11Connection::open(), X11Connection::open());
    QtClipboard clipboard(&selection);
    reader.clear();
    try {
        clipboard.setText(u"late");
        EXPECT_EQ(clipboard.text().get(), u"late");
    } catch (const Failure&) {
        EXPECT_FALSE(clipboard.hasText());  // a write that does not take is a failure
    }
}

// Every copy takes the clipboard anew, so while it keeps its owner its text
// is asked for once; after the recheck interval it is asked for again.
TEST_F(X11Test, ATextIsAskedForOnceWhileTheClipboardKeepsItsOwner) {
    SelectionReader reader(*x11_, {.recheckInterval = milliseconds(1500)});
    Holder holder(*x11_);
    EXPECT_EQ(readAnswered(reader, holder, *x11_, "one"), u"one");
    EXPECT_TRUE(reader.hasText());
    EXPECT_EQ(reader.text(), u"one");
    EXPECT_TRUE(holder.requests().empty());
    holder.takeClipboard();  // the same window copies again
    EXPECT_EQ(readAnswered(reader, holder, *x11_, "two"), u"two");
    std::this_thread::sleep_for(milliseconds(1600));
    EXPECT_EQ(readAnswered(reader, holder, *x11_, "three"), u"three");
}

TEST_F(X11Test, AnOwnerThatDoesNotAnswerCostsOneWaitNowAndThen) {
    SelectionReader reader(
        *x11_, {.answerTimeout = milliseconds(200), .deafRetryInterval = milliseconds(1000)});
    Holder hung(*x11_);
    EXPECT_THROW(reader.hasText(), Failure);
    EXPECT_EQ(hung.requests().size(), 1u);
    EXPECT_THROW(reader.text(), Failure);
    EXPECT_EQ(hung.requests().size(), 0u);  // not asked again yet
    std::this_thread::sleep_for(milliseconds(1100));
    EXPECT_THROW(reader.text(), Failure);
    EXPECT_EQ(hung.requests().size(), 1u);  // asked again, silent again
    std::this_thread::sleep_for(milliseconds(1100));
    EXPECT_THROW(reader.text(), Failure);
    EXPECT_EQ(hung.requests().size(), 0u);  // silent twice: the pause has doubled

    // Its late answer comes while another reader waits for the next one.
    SelectionReader asking(*x11_, {.answerTimeout = milliseconds(1500), .deafRetryInterval = {}});
    EXPECT_THROW(asking.text(), Failure);
    const std::vector<Request> late = hung.requests(true);
    ASSERT_EQ(late.size(), 1u);
    const xcb_atom_t utf8 = x11_->atom("UTF8_STRING");
    const xcb_atom_t before[] = {x11_->atom("TARGETS"), XCB_ATOM_STRING};
    const xcb_atom_t now[] = {x11_->atom("TARGETS"), utf8};
    std::thread answers([&] {
        for (const Request& r : hung.requests(true)) {
            hung.answer(late[0], XCB_ATOM_ATOM, 32, before, 2);
            std::this_thread::sleep_for(milliseconds(200));
            hung.answer(r, XCB_ATOM_ATOM, 32, now, 2);
        }
        for (const Request& r : hung.requests(true)) {
            hung.answer(r, utf8, 8, "quick", r.target == utf8 ? 5 : 0);
        }
    });
    EXPECT_EQ(asking.text(), u"quick");
    answers.join();
    otherProgramCopies(reader, "fresh");  // a new owner is asked at once
    EXPECT_EQ(reader.text(), u"fresh");
}

// The owner comes from the server's reports of each change, not from asking
// at every look: the owner's program ending and a new copy are both seen,
// also where the event loop reads the reports as they arrive.
TEST_F(X11Test, TheClipboardOwnerFollowsTheServersReports) {
    for (const bool byEventLoop : {false, true}) {
        const auto direct = X11Connection::open();
        ClipboardOwnerWatch watch(*direct);
        std::optional<QtX11Events> reports;
        if (byEventLoop) {
            reports.emplace(*direct, [&watch] { watch.takeArrivedReports(); });
        }
        auto holder = std::make_unique<Holder>(*x11_);
        const xcb_window_t held = watch.ownerNow();
        EXPECT_NE(held, XCB_NONE);
        EXPECT_EQ(watch.owner(), held);
        holder.reset();
        EXPECT_TRUE(QTest::qWaitFor([&] { return watch.owner() == XCB_NONE; }));
        Holder again(*x11_);
        EXPECT_TRUE(QTest::qWaitFor([&] { return watch.owner() != XCB_NONE; }));
    }
}

// The program's clipboard reads on a thread of its own: an owner that takes
// its time holds up no look, and its text comes with a later one.
TEST_F(X11Test, AnOwnerThatAnswersLateHoldsUpNoLook) {
    BackgroundSelection selection(X11Connection::open(), X11Connection::open(),
                                  {.answerTimeout = milliseconds(3000)}, milliseconds(20));
    Holder slow(*x11_);
    const xcb_window_t owner = selection.owner();
    const xcb_atom_t utf8 = x11_->atom("UTF8_STRING");
    const xcb_atom_t offered[] = {x11_->atom("TARGETS"), utf8};
    std::jthread answers([&] {
        for (int round = 0; round < 2; ++round) {
            for (const Request& r : slow.requests(true)) {
                std::this_thread::sleep_for(milliseconds(300));
                r.target == utf8 ? slow.answer(r, utf8, 8, "slow", 4)
                                 : slow.answer(r, XCB_ATOM_ATOM, 32, offered, 2);
            }
        }
    });
    EXPECT_EQ(selection.look(owner), std::nullopt);  // nothing read yet, and no waiting for it
    EXPECT_TRUE(QTest::qWaitFor([&] {
        const auto answer = selection.look(owner);
        return answer && answer->owner == owner && answer->text.get() == u"slow";
    }));
}

// Step keys by name, and a chord one program holds is refused to the next.
TEST_F(X11Test, StepKeysAreReadByNameAndHeldByOneProgram) {
    const std::optional<KeyChord> chord = parseKeyChord("ctrl+ALT+page_down");
    ASSERT_TRUE(chord);
    EXPECT_EQ(chord->keysym, 0xff56u);
    EXPECT_EQ(chord->modifiers, XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1);
    EXPECT_EQ(parseKeyChord("Super+Shift+f12")->keysym, 0xffc9u);
    for (const char* bad : {"Ctrl+", "Hyper+a", "F13", "", "Ctrl+Alt", "+"}) {
        EXPECT_FALSE(parseKeyChord(bad)) << bad;
    }
    const auto elsewhere = X11Connection::open();
    GlobalKeys ours(*x11_), theirs(*elsewhere);
    EXPECT_TRUE(theirs.grab(1, *parseKeyChord("Ctrl+Alt+F9")));
    EXPECT_FALSE(ours.grab(1, *parseKeyChord("Ctrl+Alt+F9")));
    EXPECT_TRUE(ours.grab(2, *parseKeyChord("Ctrl+Alt+F10")));
}

}  // namespace
}  // namespace kazunavi::testing

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
