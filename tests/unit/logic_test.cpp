// Rules of the window's logic below the scenarios' reach: a keep list file
// that fails half-way or holds the largest count, a browser that tells its
// title suffix, numbers and widths beyond 16 bits, a lock that cannot be
// used, and the hold after a press on a wrapping counter.

#include <gtest/gtest.h>

#include <fstream>
#include <optional>
#include <stdexcept>
#include <tuple>

#include "engine/press_hold.h"
#include "keep/capture.h"
#include "keep/keep_list.h"
#include "platform/common/utf8.h"
#include "platform/failure.h"
#include "platform/sim/sim_desktop.h"
#include "shell/application.h"
#include "shell/model/form1.h"
#include "support/disk_profile.h"

namespace kazunavi {
namespace {

namespace fs = std::filesystem;
using Calls = std::vector<std::string>;

// Notes what is asked of it; fails the reads of one key, or the batch.
class RecordingProfile : public ProfileFile {
  public:
    std::u16string read(const fs::path&, std::u16string_view section, std::u16string_view key,
                        std::u16string_view def, int) override {
        if (key == failingKey) {
            throw Failure("read fails");
        }
        return section == u"KeepCount" ? count : std::u16string(def);
    }
    void write(const fs::path&, std::u16string_view section, std::u16string_view key,
               std::u16string_view value) override {
        calls.push_back(toUtf8(section) + "/" + toUtf8(key) + "=" + toUtf8(value));
    }
    void removeSection(const fs::path&, std::u16string_view section) override {
        calls.push_back("remove " + toUtf8(section));
    }
    void beginBatch(const fs::path&) override {
        calls.push_back("begin");
        if (batchFails) {
            throw Failure("no batch");
        }
    }
    void commitBatch() override { calls.push_back("commit"); }
    void discardBatch() override { calls.push_back("discard"); }

    std::u16string count = u"0", failingKey;
    bool batchFails = false;
    Calls calls;
};

struct Keep {
    explicit Keep(ProfileFile* profile = nullptr)
        : services(sim.services().with({.profile = profile})), keep(form, services) {}
    void load(const std::string& ini) {
        std::ofstream(sim.folder() / "URL.ini", std::ios::binary) << ini;
        keep.LoadKeepList();
    }
    SimDesktop sim;
    Services services;
    Form1 form;
    KeepList keep;
};

// A whole count by the number rule within 16 bits; a negative one loads
// nothing, anything else fails the load. The count shows the text as read.
TEST(KeepList, TheStoredCountDecidesHowManyEntriesLoad) {
    const std::pair<const char*, int> counts[] = {
        {"\" +3.0 \"", 3}, {"1e1", 10}, {"-1", 0},    {"-32768", 0}, {"3.5", 0},   {"&H3", 0},
        {"3 entries", 0},  {"", 0},     {"32768", 0}, {"-32769", 0}, {"1e300", 0}, {"\x82\x52", 0}};
    for (const auto& [stored, entries] : counts) {
        Keep k;
        k.load(std::string("[KeepCount]\r\nCount=") + stored + "\r\n");
        EXPECT_EQ(k.form.List1.listCount(), entries) << stored;
        EXPECT_EQ(k.form.List2.listCount(), entries) << stored;
        EXPECT_EQ(k.form.List1.listIndex(), entries > 0 ? 0 : -1) << stored;
        EXPECT_EQ(k.form.lblCNT.text(),
                  k.sim.profile.read(k.sim.folder() / "URL.ini", u"KeepCount", u"Count", u"", 99));
    }
    // The largest count loads every position, from one look at the file.
    test::DiskProfileFile ini;
    Keep k(&ini);
    k.load("[KeepCount]\r\nCount=32767\r\n[KeepURL]\r\nName32766=last\r\n");
    ASSERT_EQ(k.form.List2.listCount(), 32767);
    EXPECT_EQ(k.form.List1.list(32766), u"last");
}

// A load reads one version of the file; a read that fails ends it with the
// lists parallel and nothing shown.
TEST(KeepList, AFailedReadEndsTheLoadWithTheListsParallel) {
    RecordingProfile profile;
    profile.count = u"5";
    profile.failingKey = u"URL2";
    Keep k(&profile);
    k.keep.LoadKeepList();
    EXPECT_EQ(profile.calls, (Calls{"begin", "discard"}));
    EXPECT_EQ(k.form.List1.listCount(), 2);
    EXPECT_EQ(k.form.List2.listCount(), 2);
    EXPECT_EQ(k.form.List1.listIndex(), -1);
}

// Every save is one batch, so that the file is rewritten once; without a
// batch the writes go one by one. The list never grows beyond what the next
// start can load.
TEST(KeepList, EverySaveIsOneBatchAndTheListStopsAtTheLargestCount) {
    RecordingProfile profile;
    Keep k(&profile);
    k.keep.AddKeepEntry(u"a", u"http://a/");
    k.keep.AddKeepEntry(u"b", u"http://b/");
    k.form.List1.setListIndex(0);
    profile.calls.clear();
    k.keep.Command4_Click();
    EXPECT_EQ(profile.calls,
              (Calls{"begin", "remove KeepCount", "remove KeepURL", "KeepCount/Count=1",
                     "KeepURL/Name0=b", "KeepURL/URL0=http://b/", "commit"}));
    profile.calls.clear();
    profile.batchFails = true;
    k.keep.AddKeepEntry(u"c", u"http://c/");
    EXPECT_EQ(profile.calls.size(), 6u);
    EXPECT_EQ(profile.calls.back(), "KeepURL/URL1=http://c/");

    for (int i = k.form.List1.listCount(); i < 32766; ++i) {
        k.form.List1.addItem(u"n");
        k.form.List2.addItem(u"u");
    }
    k.keep.AddKeepEntry(u"last", u"http://last/");
    EXPECT_EQ(k.form.lblCNT.text(), u"32767");
    profile.calls.clear();
    k.keep.AddKeepEntry(u"one too many", u"http://more/");
    EXPECT_EQ(k.form.List1.listCount(), 32767);
    EXPECT_EQ(k.form.List2.listCount(), 32767);
    EXPECT_TRUE(profile.calls.empty());
}

// A known suffix is cut by its length; unknown or negative, by 29. A title
// shorter than that leaves the capture as it was.
TEST(Capture, TheBrowsersTitleSuffixIsCutOff) {
    Keep k;
    BrowserCapture capture(k.form, k.services, k.keep);
    const std::u16string dashes(29, u'-');
    const std::tuple<std::u16string, std::optional<int>, std::u16string> cases[] = {
        {u"Title" + dashes, std::nullopt, u"Title"},
        {u"Other" + dashes, -3, u"Other"},
        {u"Whole", 0, u"Whole"},
        {u"Page - Browser", 10, u"Page"},
        {u"Page", 15, u"Page"}};
    k.sim.windowManager.foreground = 0x10;
    for (const auto& [title, suffix, kept] : cases) {
        k.sim.windowManager.titles[0x10] = title;
        k.sim.browserWindows.windows = {BrowserWindow{0x10, u"http://o/" + title, suffix}};
        capture.timGETURL_Timer();
        EXPECT_EQ(k.form.lTTL.text(), kept);
        EXPECT_EQ(k.form.lURL.text(), u"http://o/" + (kept == u"Page" ? u"Page - Browser" : title));
    }
}

struct ThrowingLock : InstanceCheck {
    bool anotherRunning() override { throw Failure("the lock file is not ours"); }
};

// An unusable lock does not keep the program from starting. PICK takes at
// most a 16-bit width; a step whose width does not fit fails or stops.
TEST(Application, StartsWithoutALockAndKeepsWidthsWithin16Bits) {
    SimDesktop desktop;
    ThrowingLock lock;
    Services services = desktop.services().with({.instanceCheck = &lock});
    Application app(services);
    app.start();
    Form1& f = app.form1();
    EXPECT_FALSE(app.ended());
    EXPECT_TRUE(f.timCrip.enabled());
    EXPECT_TRUE(desktop.messageBox.shown.empty());

    f.txtNow.setText(std::u16string(32768, u'0'));
    f.txtNow.setSelLength(32768);
    app.run("lblCUT", Event::Click);
    EXPECT_EQ(desktop.messageBox.shown.back().title, u"Kazunavi Error_03");
    EXPECT_FALSE(f.v.PickMode);
    f.txtNow.setSelStart(1);
    f.txtNow.setSelLength(32767);
    app.run("lblCUT", Event::Click);
    EXPECT_EQ(f.v.PickLen, 32767);
    EXPECT_EQ(desktop.messageBox.shown.size(), 1u);

    f.v.AutoOn = f.v.LimitOn = f.v.PickMode = false;
    f.txtNo.setText(u"3");
    f.txtLimL.setText(std::u16string(40000, u'0'));
    app.run("UPbutton", Event::Click);
    EXPECT_EQ(desktop.messageBox.shown.back().title, u"Kazunavi\u3000Error_06");
    f.txtLimL.setText(std::u16string(40000, u'1'));
    app.run("Label1", Event::Click);  // SET ends quietly
    EXPECT_EQ(f.txtNo.text(), u"3");
    f.txtLimL.setText(u"0");
    f.txtNo.setText(std::u16string(39999, u'0') + u"3");
    f.Cup.setEnabled(true);
    app.run("Cup", Event::Timer);
    EXPECT_FALSE(f.Cup.enabled());
    EXPECT_EQ(f.txtNo.text().size(), 40000u);
    EXPECT_EQ(desktop.messageBox.shown.size(), 2u);
}

// Each member of the step family takes the width of its own rule: the clicks
// keep the picked width or the lower bound's, the ticks the number's own.
TEST(Application, EachStepTakesTheWidthOfItsRule) {
    SimDesktop desktop;
    Application app(desktop.services());
    app.start();
    Form1& f = app.form1();
    f.v.AutoOn = f.v.LimitOn = false;
    std::string seen;
    for (bool picked : {true, false}) {
        for (const char* member : {"UPbutton", "lblUP", "DWNbutton", "lblDWN", "Cup", "Cdwn"}) {
            f.v.PickMode = picked;
            f.v.PickLen = 4;
            f.txtNo.setText(u"7");
            f.txtLimL.setText(u"000");
            if (Timer* repeat = f.findTimer(member)) {
                repeat->setEnabled(true);
            }
            app.run(member, member[0] == 'C' ? Event::Timer : Event::Click);
            seen += toUtf8(f.txtNo.text()) + "/" + std::to_string(f.v.PickLen) + " ";
        }
    }
    EXPECT_EQ(seen, "0008/4 0008/4 6/4 6/4 8/1 6/1 008/4 008/4 006/4 006/4 8/1 6/1 ");
    EXPECT_TRUE(desktop.messageBox.shown.empty());
}

// A counter whose time passes only in the pauses the hold asks for; reading
// it again without a pause means the hold spins, which fails the test.
class SteppedCounter : public TickCounter {
  public:
    SteppedCounter(std::uint32_t start, std::uint32_t step) : reading_(start), step_(step) {}
    std::uint32_t now() override {
        if (++reads_ > 2) {
            throw std::logic_error("the hold reads the counter without pausing");
        }
        return reading_;
    }
    void pause(std::uint32_t ms) override {
        reads_ = 0;
        paused += ms;
        reading_ += step_;
    }
    std::uint32_t paused = 0;

  private:
    std::uint32_t reading_, step_;
    int reads_ = 0;
};

// More than 200 ms, also across the counter's wrap, in 1 ms pauses; a
// coarse counter ends at its first reading beyond.
TEST(PressHold, EndsOnceMoreThan200msHavePassed) {
    for (std::uint32_t start : {5000u, 0xFFFFFF37u, 0xFFFFFF38u, 0xFFFFFFFFu}) {
        SteppedCounter fine(start, 1), coarse(start, 16);
        holdAfterPress(fine);
        holdAfterPress(coarse);
        EXPECT_EQ(fine.paused, 201u) << start;
        EXPECT_EQ(coarse.paused, 13u) << start;  // 13 * 16 = 208 > 200
    }
}

TEST(Element, SelectionsAndListsStayInsideTheirText) {
    Element box("t", ElementKind::TextBox);
    box.setText(u"abcdef");
    box.setSelStart(4);
    box.setSelLength(50);
    EXPECT_EQ(box.selLength(), 2);
    box.setSelStart(99);
    EXPECT_EQ(box.selStart() * 10 + box.selLength(), 60);
    Element list("List1", ElementKind::ComboBox);
    for (const char16_t* item : {u"a", u"b", u"c"}) {
        list.addItem(item);
    }
    list.setText(u"c");
    list.removeItem(0);
    EXPECT_EQ(list.listIndex(), 1);  // still on "c"
    EXPECT_THROW(list.removeItem(2), Failure);
    EXPECT_THROW(list.removeItem(-1), Failure);
    list.removeItem(1);
    EXPECT_EQ(list.listIndex(), -1);
    EXPECT_EQ(list.text(), u"");
}

}  // namespace
}  // namespace kazunavi
