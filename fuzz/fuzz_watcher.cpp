// Feeds random clipboard texts and keywords through the clipboard watcher's
// ticks and the routines it calls, mixed with the clicks a user could make
// meanwhile (PICK on a random selection, the steps, [SET], CLS, ADD, the memo
// buttons), on the simulated desktop. Any escaping exception, crash, hang or
// sanitizer report is a finding.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/common/utf8.h"
#include "platform/sim/sim_desktop.h"
#include "shell/application.h"
#include "shell/model/form1.h"

namespace {

using kazunavi::Application;
using kazunavi::Element;
using kazunavi::Event;
using kazunavi::Form1;
using kazunavi::SimDesktop;
using kazunavi::Timer;

constexpr std::size_t kLongestText = 4096;  // characters
constexpr int kMostActions = 64;

class Session {
  public:
    explicit Session(FuzzedDataProvider& input) : in_(input), app_(desktop_.services()) {
        app_.start();
    }

    void run() {
        for (int i = 0; i < kMostActions && in_.remaining_bytes() > 0 && !app_.ended(); ++i) {
            act(in_.ConsumeIntegralInRange<int>(0, 24));
        }
    }

  private:
    Form1& f() { return app_.form1(); }

    // A text put together from pieces of addresses and templates, random
    // UTF-8 and random UTF-16 code units, so that addresses, templates and
    // their broken forms all come up.
    std::u16string someText() {
        static constexpr std::u16string_view kPieces[] = {
            u"ttp://", u"https://", u"://",          u"[", u"]",    u"-",    u"0",    u"1",
            u"007",    u"120",      u"example.org/", u"p", u".jpg", u"\r\n", u"画像", u"\u3000",
            u"?id=",   u"#top"};
        constexpr int kPieceCount = static_cast<int>(std::size(kPieces));
        std::u16string t;
        const int parts = in_.ConsumeIntegralInRange<int>(0, 12);
        for (int i = 0; i < parts && t.size() < kLongestText; ++i) {
            const int choice = in_.ConsumeIntegralInRange<int>(0, kPieceCount + 1);
            if (choice < kPieceCount) {
                t += kPieces[choice];
            } else if (choice == kPieceCount) {
                t += kazunavi::fromUtf8(in_.ConsumeRandomLengthString(64));
            } else {
                const std::string bytes = in_.ConsumeRandomLengthString(64);
                for (std::size_t b = 0; b + 1 < bytes.size(); b += 2) {
                    t.push_back(
                        static_cast<char16_t>(static_cast<unsigned char>(bytes[b]) |
                                              static_cast<unsigned char>(bytes[b + 1]) << 8));
                }
            }
        }
        return t;
    }

    // A selection in the address box: a run of digits, as a user would mark
    // the running number, or any range.
    void selectSomething(Element& box) {
        const std::u16string& t = box.text();
        const int size = static_cast<int>(t.size());
        if (in_.ConsumeBool()) {
            std::vector<std::pair<int, int>> runs;
            for (int i = 0; i < size;) {
                if (t[i] >= u'0' && t[i] <= u'9') {
                    int end = i;
                    while (end < size && t[end] >= u'0' && t[end] <= u'9') {
                        ++end;
                    }
                    runs.emplace_back(i, end - i);
                    i = end;
                } else {
                    ++i;
                }
            }
            if (!runs.empty()) {
                const auto& [start, length] =
                    runs[in_.ConsumeIntegralInRange<std::size_t>(0, runs.size() - 1)];
                box.setSelStart(start);
                box.setSelLength(length);
                return;
            }
        }
        const int start = in_.ConsumeIntegralInRange<int>(0, size);
        box.setSelStart(start);
        box.setSelLength(in_.ConsumeIntegralInRange<int>(0, size - start));
    }

    void deliverTicks(std::uint64_t ms) {
        desktop_.clock.advance(ms,
                               [this](Timer& timer) { app_.run(timer.name(), Event::Timer, 0); });
    }

    void fire(const std::string& target, Event event, int button) {
        app_.run(target, event, button);
        deliverTicks(0);
    }

    // A user's click: only an enabled element (in an enabled container) gets it.
    void click(Element& e) {
        for (const Element* at = &e; at != nullptr;
             at = at->container.empty() ? nullptr : f().find(at->container)) {
            if (!at->enabled || !at->visible) {
                return;
            }
        }
        const std::string name = e.name();
        fire(name, Event::MouseDown, 1);
        fire(name, Event::MouseUp, 1);
        fire(name, Event::Click, 0);
    }

    void hold(Element& e, std::uint64_t ms) {
        if (!e.enabled) {
            return;
        }
        const std::string name = e.name();
        fire(name, Event::MouseDown, 1);
        deliverTicks(ms);
        fire(name, Event::MouseUp, 1);
        fire(name, Event::Click, 0);
    }

    void type(Element& box) {
        std::u16string t = someText();
        if (box.enabled) {
            box.setText(std::move(t));
        }
    }

    void act(int action) {
        auto& clip = desktop_.clipboard;
        switch (action) {
            case 0:
            case 1:
                clip.locked = false;
                clip.content = someText();
                break;
            case 2:
                clip.locked = false;
                clip.content.reset();
                break;
            case 3:
                clip.locked = true;
                break;
            case 4:
            case 5:
                app_.run("timCrip", Event::Timer, 0);
                break;
            case 6:
                type(f().txtKeyWord);
                break;
            case 7:
                selectSomething(f().txtNow);
                click(f().lblCUT);
                break;
            case 8:
                click(f().UPbutton);
                break;
            case 9:
                click(f().DWNbutton);
                break;
            case 10:
                click(in_.ConsumeBool() ? f().lblUP : f().lblDWN);
                break;
            case 11:
                click(f().Label1);
                break;
            case 12:
                click(f().lblAccess);
                break;
            case 13:
                click(f().Command5);
                break;
            case 14:
                click(f().Command9);
                break;
            case 15:
                click(in_.ConsumeBool() ? f().Command7 : f().Command8);
                break;
            case 16:
                click(in_.ConsumeBool() ? f().Command10 : f().Command2);
                break;
            case 17:
                click(f().lblAuto);
                break;
            case 18:
                click(f().lblLIMIT);
                break;
            case 19:
                desktop_.browser.works = !desktop_.browser.works;
                break;
            case 20:
                type(in_.ConsumeBool() ? f().txtLimL : f().txtLimH);
                break;
            case 21:
                type(in_.ConsumeBool() ? f().txtNo : f().Text2);
                break;
            case 22:
                type(in_.ConsumeBool() ? f().txtNow : f().txtMemo);
                break;
            case 23:
                hold(in_.ConsumeBool() ? f().cmdUP : f().Command1,
                     in_.ConsumeIntegralInRange<std::uint64_t>(0, 400));
                break;
            default:
                deliverTicks(in_.ConsumeIntegralInRange<std::uint64_t>(0, 1500));
                break;
        }
        // The navigations and messages pile up in the simulation; keep them short.
        desktop_.browser.navigations.clear();
        desktop_.messageBox.shown.clear();
    }

    FuzzedDataProvider& in_;
    SimDesktop desktop_;
    Application app_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    Session session(input);
    session.run();
    return 0;
}
