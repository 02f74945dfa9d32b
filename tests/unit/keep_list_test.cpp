// The keep list below the scenarios' reach: a file that fails half-way or
// holds the largest count, and the batches that keep a save whole.

#include <gtest/gtest.h>

#include <fstream>
#include <optional>

#include "keep/capture.h"
#include "keep/keep_list.h"
#include "platform/common/utf8.h"
#include "platform/failure.h"
#include "platform/sim/sim_desktop.h"
#include "shell/model/form1.h"

namespace kazunavi {
namespace {

namespace fs = std::filesystem;

// Notes what is asked of it; fails the reads of one key, or every batch.
struct RecordingProfile : ProfileFile {
    std::u16string read(const fs::path&, std::u16string_view section, std::u16string_view key,
                        std::u16string_view def, int) override {
        if (key == failingKey) {
            throw Failure("read fails");
        }
        return std::u16string(section == u"KeepCount" ? u"5" : def);
    }
    void write(const fs::path&, std::u16string_view, std::u16string_view key,
               std::u16string_view value) override {
        calls += toUtf8(key) + "=" + toUtf8(value) + " ";
    }
    void removeSection(const fs::path&, std::u16string_view section) override {
        calls += "-" + toUtf8(section) + " ";
    }
    void beginBatch(const fs::path&) override {
        calls += "begin ";
        if (batchFails) {
            throw Failure("no batch");
        }
    }
    void commitBatch() override { calls += "commit "; }
    void discardBatch() override { calls += "discard "; }

    std::u16string failingKey = u"URL2";
    bool batchFails = false;
    std::string calls;
};

// A whole count by the number rule within 16 bits; a negative one loads
// nothing, anything else fails the load. The largest count loads every
// position.
TEST(KeepList, TheStoredCountDecidesHowManyEntriesLoad) {
    const std::pair<const char*, int> counts[] = {
        {"\" +3.0 \"", 3}, {"1e1", 10},   {"-1", 0},    {"3.5", 0},      {"&H3", 0},
        {"32768", 0},      {"-32769", 0}, {"1e300", 0}, {"\x82\x52", 0}, {"32767", 32767}};
    for (const auto& [count, entries] : counts) {
        SimDesktop sim;
        Form1 form;
        std::ofstream(sim.folder() / "URL.ini", std::ios::binary)
            << "[KeepCount]\r\nCount=" << count << "\r\n[KeepURL]\r\nName32766=last\r\n";
        KeepList(form, sim.services()).LoadKeepList();
        EXPECT_EQ(form.List2.listCount(), entries) << count;
        EXPECT_EQ(form.List1.listIndex(), entries > 0 ? 0 : -1) << count;
    }
}

// A read that fails ends the load with the lists parallel. Every save is one
// batch, so that the file is rewritten once; without a batch the writes go
// one by one. The list never grows beyond what the next start can load.
TEST(KeepList, LoadsAndSavesInOneBatchAndStopsAtTheLargestCount) {
    SimDesktop sim;
    RecordingProfile profile;
    Services services = sim.services().with({.profile = &profile});
    Form1 form;
    KeepList keep(form, services);
    keep.LoadKeepList();
    EXPECT_EQ(form.List1.listCount() * 10 + form.List2.listCount(), 22);
    EXPECT_EQ(form.List1.listIndex(), -1);
    form.List1.setListIndex(0);
    keep.Command4_Click();
    EXPECT_EQ(profile.calls,
              "begin discard begin -KeepCount -KeepURL Count=1 Name0= URL0= commit ");
    profile.calls.clear();
    profile.batchFails = true;
    keep.AddKeepEntry(u"c", u"http://c/");
    EXPECT_EQ(profile.calls, "begin Count=2 Name0= URL0= Name1=c URL1=http://c/ ");
    while (form.List1.listCount() < 32766) {
        form.List1.addItem(u"n");
        form.List2.addItem(u"u");
    }
    keep.AddKeepEntry(u"last", u"http://last/");
    EXPECT_EQ(form.lblCNT.text(), u"32767");
    profile.calls.clear();
    keep.AddKeepEntry(u"one too many", u"http://more/");
    EXPECT_EQ(form.List1.listCount() + form.List2.listCount(), 2 * 32767);
    EXPECT_EQ(profile.calls, "");
}

// The capture cuts a suffix of the length the browser tells, none included;
// unknown or negative, 29 characters. A title shorter than that leaves the
// capture as it was.
TEST(Capture, TheBrowsersTitleSuffixIsCutOff) {
    SimDesktop sim;
    Form1 form;
    KeepList keep(form, sim.services());
    BrowserCapture capture(form, sim.services(), keep);
    sim.windowManager.foreground = 0x10;
    std::u16string kept;
    const std::pair<const char16_t*, std::optional<int>> shown[] = {
        {u"Whole", 0},
        {u"Page - B", 4},
        {u"Title---------|---------|---------", {}},
        {u"Other---------|---------|---------", -1},
        {u"P", 2}};
    for (const auto& [title, suffix] : shown) {
        sim.windowManager.titles[0x10] = title;
        sim.browserWindows.windows = {BrowserWindow{0x10, u"http://o/", suffix}};
        capture.timGETURL_Timer();
        kept += form.lTTL.text() + u"|";
    }
    EXPECT_EQ(kept, u"Whole|Page|Title|Other|Other|");
}

}  // namespace
}  // namespace kazunavi
