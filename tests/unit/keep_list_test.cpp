#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "keep/capture.h"
#include "keep/keep_list.h"
#include "platform/common/ini_profile.h"
#include "platform/common/utf8.h"
#include "platform/failure.h"
#include "platform/sim/sim_desktop.h"
#include "shell/model/form1.h"
#include "support/disk_profile.h"

namespace kazunavi {
namespace {

void writeBytes(const std::filesystem::path& file, const std::string& bytes) {
    std::ofstream(file, std::ios::binary) << bytes;
}

// A profile file that records what is asked of it and can be made to fail at
// one key or at the batch calls.
class RecordingProfile : public ProfileFile {
  public:
    std::u16string read(const std::filesystem::path&, std::u16string_view section,
                        std::u16string_view key, std::u16string_view def, int size) override {
        sizes.push_back(size);
        if (key == failingKey) {
            throw Failure("read fails");
        }
        if (section == u"KeepCount") {
            return count;
        }
        return std::u16string(def);
    }
    void write(const std::filesystem::path&, std::u16string_view section, std::u16string_view key,
               std::u16string_view value) override {
        ++writes;
        if (recording) {
            calls.push_back(toUtf8(section) + "/" + toUtf8(key) + "=" + toUtf8(value));
        }
        if (key == failingKey) {
            throw Failure("write fails");
        }
    }
    void removeSection(const std::filesystem::path&, std::u16string_view section) override {
        calls.push_back("remove " + toUtf8(section));
    }
    void beginBatch(const std::filesystem::path&) override {
        calls.push_back("begin");
        if (batchFails) {
            throw Failure("no batch");
        }
    }
    void commitBatch() override {
        calls.push_back("commit");
        if (commitFails) {
            throw Failure("cannot write the file");
        }
    }
    void discardBatch() override { calls.push_back("discard"); }

    std::u16string count = u"0";
    std::u16string failingKey;
    bool batchFails = false;
    bool commitFails = false;
    bool recording = true;
    int writes = 0;
    std::vector<std::string> calls;
    std::vector<int> sizes;
};

// The keep list on the simulated desktop, with its real INI file or with a
// recording profile in its place.
struct KeepFixture {
    explicit KeepFixture(ProfileFile* profile = nullptr)
        : services{sim.messageBox,
                   sim.clipboard,
                   sim.browser,
                   sim.windowManager,
                   profile ? *profile : sim.profile,
                   sim.clock,
                   sim.beeper,
                   sim.instanceCheck,
                   folder,
                   sim.browserWindows,
                   sim.programExit,
                   sim.clock},
          keep(form, services),
          capture(form, services, keep) {}

    std::filesystem::path file() const { return sim.folder() / "URL.ini"; }
    void addEntries(int n) {
        for (int i = 0; i < n; ++i) {
            form.List1.addItem(u"name");
            form.List2.addItem(u"http://example.org/");
        }
    }

    SimDesktop sim;
    SimProgramFolder folder{sim.folder()};
    Services services;
    Form1 form;
    KeepList keep;
    BrowserCapture capture;
};

// How the stored count is taken: a whole number by the program's number rule
// within 16 bits; a negative count loads nothing; anything else fails the
// load, which leaves the lists empty. The count shows the text as read.
struct CountCase {
    const char* stored;
    int entries;
};

class StoredCount : public testing::TestWithParam<CountCase> {};

TEST_P(StoredCount, DecidesHowManyEntriesLoad) {
    KeepFixture k;
    writeBytes(k.file(), std::string("[KeepCount]\r\nCount=") + GetParam().stored + "\r\n");
    k.keep.LoadKeepList();
    EXPECT_EQ(k.form.List1.listCount(), GetParam().entries);
    EXPECT_EQ(k.form.List2.listCount(), GetParam().entries);
    EXPECT_EQ(k.form.List1.listIndex(), GetParam().entries > 0 ? 0 : -1);
    EXPECT_EQ(k.form.lblCNT.text(),
              k.sim.profile.read(k.file(), u"KeepCount", u"Count", u"", 1024));
}

INSTANTIATE_TEST_SUITE_P(
    KeepList, StoredCount,
    testing::Values(CountCase{"3", 3}, CountCase{"3.0", 3}, CountCase{"\" 3 \"", 3},
                    CountCase{"+3", 3}, CountCase{"1e1", 10}, CountCase{"0", 0}, CountCase{"-1", 0},
                    CountCase{"-32768", 0}, CountCase{"3.5", 0}, CountCase{"&H3", 0},
                    CountCase{"3 entries", 0}, CountCase{"", 0}, CountCase{"32768", 0},
                    CountCase{"-32769", 0}, CountCase{"1e300", 0},
                    CountCase{"\x82\x52", 0} /* a full-width digit three */));

TEST(KeepListLoad, TheLargestCountLoadsEveryPosition) {
    test::DiskProfileFile ini;  // the program's own file, reads served from one look at it
    KeepFixture k(&ini);
    writeBytes(k.file(), "[KeepCount]\r\nCount=32767\r\n[KeepURL]\r\nName32766=last\r\n");
    k.keep.LoadKeepList();
    ASSERT_EQ(k.form.List1.listCount(), 32767);
    ASSERT_EQ(k.form.List2.listCount(), 32767);
    EXPECT_EQ(k.form.List1.list(32766), u"last");
    EXPECT_EQ(k.form.List1.list(0), u"");
    EXPECT_EQ(k.form.List1.listIndex(), 0);
}

TEST(KeepListLoad, ReadsOneVersionOfTheFileWithTheBufferOf1024AndWritesNothing) {
    RecordingProfile profile;
    profile.count = u"2";
    KeepFixture k(&profile);
    k.keep.LoadKeepList();
    EXPECT_EQ(profile.calls, (std::vector<std::string>{"begin", "discard"}));
    EXPECT_EQ(profile.sizes, (std::vector<int>{1024, 1024, 1024, 1024, 1024}));
}

TEST(KeepListLoad, AFailedReadKeepsTheListsParallel) {
    RecordingProfile profile;
    profile.count = u"5";
    profile.failingKey = u"URL2";
    KeepFixture k(&profile);
    k.keep.LoadKeepList();
    EXPECT_EQ(k.form.List1.listCount(), 2);
    EXPECT_EQ(k.form.List2.listCount(), 2);
    // The failure ended the load before the first entry was shown.
    EXPECT_EQ(k.form.List1.listIndex(), -1);
}

// An added entry rewrites the count and every entry; a deletion removes both
// sections first. Either is one batch, so the file is rewritten once.
TEST(KeepListSave, EverySaveIsOneBatch) {
    RecordingProfile profile;
    KeepFixture k(&profile);
    k.addEntries(1);
    k.keep.AddKeepEntry(u"b", u"http://b/");
    EXPECT_EQ(profile.calls,
              (std::vector<std::string>{"begin", "KeepCount/Count=2", "KeepURL/Name0=name",
                                        "KeepURL/URL0=http://example.org/", "KeepURL/Name1=b",
                                        "KeepURL/URL1=http://b/", "commit"}));
    profile.calls.clear();
    k.form.List1.setListIndex(0);
    k.keep.Command4_Click();
    EXPECT_EQ(profile.calls, (std::vector<std::string>{
                                 "begin", "remove KeepCount", "remove KeepURL", "KeepCount/Count=1",
                                 "KeepURL/Name0=b", "KeepURL/URL0=http://b/", "commit"}));
}

TEST(KeepListSave, AFailedWriteIsNotLookedAt) {
    RecordingProfile profile;
    profile.failingKey = u"Name0";
    KeepFixture k(&profile);
    k.addEntries(49);
    k.keep.AddKeepEntry(u"fiftieth", u"http://example.org/50");
    // Every later write was still made, and the operation went to its end.
    EXPECT_EQ(profile.calls.size(), 1 + 1 + 2 * 50 + 1u);
    EXPECT_EQ(profile.calls.back(), "commit");
    EXPECT_EQ(k.form.lblCNT.text(), u"50");
    EXPECT_FALSE(k.form.Command3.enabled);
}

TEST(KeepListSave, AFileThatCannotBeWrittenChangesOnlyTheLists) {
    RecordingProfile profile;
    profile.commitFails = true;
    KeepFixture k(&profile);
    k.addEntries(3);
    k.form.List1.setListIndex(1);
    k.keep.Command4_Click();
    EXPECT_EQ(k.form.List1.listCount(), 2);
    EXPECT_EQ(k.form.lblCNT.text(), u"2");
    EXPECT_TRUE(k.sim.messageBox.shown.size() == 1);  // only the question
}

TEST(KeepListSave, WithoutABatchEveryWriteGoesOnItsOwn) {
    RecordingProfile profile;
    profile.batchFails = true;
    KeepFixture k(&profile);
    k.keep.AddKeepEntry(u"a", u"http://a/");
    EXPECT_EQ(profile.calls,
              (std::vector<std::string>{"begin", "KeepCount/Count=1", "KeepURL/Name0=a",
                                        "KeepURL/URL0=http://a/"}));
}

TEST(KeepListAdd, TheListNeverGrowsBeyondWhatTheNextStartCanLoad) {
    RecordingProfile profile;
    profile.recording = false;
    KeepFixture k(&profile);
    k.addEntries(32766);
    k.keep.AddKeepEntry(u"last", u"http://example.org/last");
    EXPECT_EQ(k.form.List1.listCount(), 32767);
    EXPECT_EQ(k.form.lblCNT.text(), u"32767");
    profile.writes = 0;
    k.keep.AddKeepEntry(u"one too many", u"http://example.org/more");
    EXPECT_EQ(k.form.List1.listCount(), 32767);
    EXPECT_EQ(k.form.List2.listCount(), 32767);
    EXPECT_EQ(profile.writes, 0);
}

TEST(KeepListDelete, AFailedDeleteLeavesKeepAsItWas) {
    KeepFixture k;
    k.addEntries(50);
    k.form.Command3.enabled = false;
    k.form.List1.setListIndex(-1);
    k.keep.Command4_Click();
    EXPECT_EQ(k.form.List1.listCount(), 50);
    EXPECT_FALSE(k.form.Command3.enabled);
    EXPECT_FALSE(std::filesystem::exists(k.file()));
}

// The capture with a browser that says how long its title suffix is.
struct CaptureFixture : KeepFixture {
    void show(std::u16string title, std::optional<int> suffix) {
        sim.windowManager.foreground = 0x10;
        sim.windowManager.titles[0x10] = std::move(title);
        sim.browserWindows.windows = {BrowserWindow{0x10, u"http://example.org/", suffix}};
    }
};

// The browser's suffix is cut by its known length; unknown or negative, it is
// taken as 29 characters. A title shorter than the suffix ends the tick.
TEST(CaptureTitle, TheSuffixCutOff) {
    CaptureFixture c;
    const std::u16string dashes(29, u'-');
    c.show(u"Title" + dashes, std::nullopt);
    c.capture.timGETURL_Timer();
    EXPECT_EQ(c.form.lTTL.text(), u"Title");
    c.show(u"Other" + dashes, -3);
    c.capture.timGETURL_Timer();
    EXPECT_EQ(c.form.lTTL.text(), u"Other");
    c.show(u"Whole title", 0);
    c.capture.timGETURL_Timer();
    EXPECT_EQ(c.form.lTTL.text(), u"Whole title");
    c.show(u"Page - Browser", 10);
    c.capture.timGETURL_Timer();
    EXPECT_EQ(c.form.lTTL.text(), u"Page");
    EXPECT_EQ(c.form.lURL.text(), u"http://example.org/");

    c.sim.browserWindows.windows = {BrowserWindow{0x10, u"http://example.org/other", 15}};
    c.capture.timGETURL_Timer();
    EXPECT_EQ(c.form.lTTL.text(), u"Page");
    EXPECT_EQ(c.form.lURL.text(), u"http://example.org/");
}

class FailingBrowserWindows : public BrowserWindows {
  public:
    std::vector<BrowserWindow> list() override { throw Failure("a browser does not answer"); }
};

TEST(CaptureTick, ACollectionThatFailsLeavesTheCaptureAndShowsTheHandle) {
    CaptureFixture c;
    c.show(u"Page" + std::u16string(29, u'-'), std::nullopt);
    c.capture.timGETURL_Timer();
    FailingBrowserWindows failing;
    Services& s = c.services;
    Services broken{s.messageBox,    s.clipboard, s.browser,     s.windowManager,
                    s.profile,       s.ticks,     s.beeper,      s.instanceCheck,
                    s.programFolder, failing,     s.programExit, s.timerHost};
    BrowserCapture capture(c.form, broken, c.keep);
    c.sim.windowManager.foreground = 0xBEEF;
    capture.timGETURL_Timer();
    EXPECT_EQ(c.form.lAWH.text(), u"&HBEEF");
    EXPECT_EQ(c.form.lTTL.text(), u"Page");
    EXPECT_EQ(c.form.lURL.text(), u"http://example.org/");
}

}  // namespace
}  // namespace kazunavi
