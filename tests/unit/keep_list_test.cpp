// The keep list and the capture of the browser's title.

#include <gtest/gtest.h>

#include "keep/capture.h"
#include "keep/keep_list.h"
#include "platform/common/utf8.h"
#include "platform/failure.h"
#include "platform/sim/sim_desktop.h"
#include "shell/model/form1.h"
#include "support/scratch_folder.h"

namespace kazunavi {
namespace {

namespace fs = std::filesystem;
using test::fileBytes;
using test::putFile;

// Notes what is asked of it; gives each key its name, fails at URL2.
struct RecordingProfile : ProfileFile {
    std::u16string read(const fs::path&, std::u16string_view section, std::u16string_view key,
                        std::u16string_view, int) override {
        if (key == u"URL2") {
            throw Failure("read fails");
        }
        return std::u16string(section == u"KeepCount" ? u"5" : key);
    }
    void write(const fs::path&, std::u16string_view, std::u16string_view key,
               std::u16string_view value) override {
        calls += toUtf8(key) + "=" + toUtf8(value) + " ";
    }
    void removeSection(const fs::path&, std::u16string_view section) override {
        if (section == failingRemoval) {
            throw Failure("removal fails");
        }
        calls += "-" + toUtf8(section) + " ";
    }
    std::optional<fs::path> keepCopy(const fs::path&) override { return std::nullopt; }
    std::vector<fs::path> takeKeptCopies() override { return {}; }
    void copyFile(const fs::path&, const fs::path&) override {}
    void beginBatch(const fs::path&) override { calls += "begin "; }
    void commitBatch() override {
        if (failingCommit) {
            throw Failure("commit fails");
        }
        calls += "commit ";
    }
    void discardBatch() override { calls += "discard "; }

    std::string calls;
    std::u16string_view failingRemoval;
    bool failingCommit = false;
};

// A whole number within 16 bits; a negative one loads nothing, anything else
// fails the load.
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

// One batch a save, so that the file is rewritten once; never more entries
// than the next start can load.
TEST(KeepList, LoadsAndSavesInOneBatchAndStopsAtTheLargestCount) {
    SimDesktop sim;
    RecordingProfile profile;
    Services services = sim.services().with({.profile = &profile});
    Form1 form;
    KeepList keep(form, services);
    keep.LoadKeepList();
    EXPECT_EQ(form.List1.listCount() * 10 + form.List2.listCount(), 22);
    EXPECT_EQ(form.List1.listIndex(), -1);
    EXPECT_THROW(form.List1.setListIndex(2), Failure);  // only an entry of the list
    form.List1.setListIndex(0);
    keep.Command4_Click();
    EXPECT_EQ(form.List1.text(), u"");  // the entry shown went
    EXPECT_EQ(profile.calls,
              "begin discard begin -KeepCount -KeepURL Count=1 Name0=Name1 URL0=URL1 commit ");
    const auto lastTitle = [&sim] {
        return sim.messageBox.shown.empty() ? u"" : sim.messageBox.shown.back().title;
    };
    profile.failingRemoval = u"KeepURL";  // the user hears of a save that failed half-way
    form.List1.setListIndex(0);
    keep.Command4_Click();
    EXPECT_EQ(lastTitle(), u"Kazunavi\u3000Error_11");
    profile.failingRemoval = {};
    profile.failingCommit = true;  // and of one whose file could not be written
    sim.messageBox.shown.clear();
    keep.AddKeepEntry(u"x", u"http://x/");
    EXPECT_EQ(lastTitle(), u"Kazunavi\u3000Error_11");
    profile.failingCommit = false;
    while (form.List1.listCount() < 32766) {
        form.List1.addItem(u"n");
        form.List2.addItem(u"u");
    }
    keep.AddKeepEntry(u"last", u"http://last/");
    profile.calls.clear();
    keep.AddKeepEntry(u"one too many", u"http://more/");
    EXPECT_EQ(form.List1.listCount() + form.List2.listCount(), 2 * 32767);
    EXPECT_EQ(profile.calls, "");
    EXPECT_EQ(sim.beeper.beeps, 1);  // refused, and the user hears it
}

// The user's folder takes a list the program's folder cannot, with all the
// file held; later saves go there, without a word.
TEST(KeepList, AListThatCannotBeSavedMovesToTheUsersFolder) {
    SimDesktop sim;
    sim.programFolder.user = sim.folder() / "user";
    const std::string stored =
        "[KeepCount]\r\nCount=1\r\n[KeepURL]\r\nName0=a\r\nURL0=u\r\n[Own]\r\n";
    putFile(sim.folder() / "URL.ini", stored);
    sim.profile.readOnly.insert(sim.folder());
    Form1 form;
    KeepList keep(form, sim.services());
    keep.LoadKeepList();
    sim.profile.readOnly.insert(sim.folder() / "user");  // at first it takes none either
    keep.AddKeepEntry(u"b", u"v");
    sim.profile.readOnly.erase(sim.folder() / "user");
    keep.AddKeepEntry(u"c", u"w");
    ASSERT_EQ(sim.messageBox.shown.size(), 2u);
    EXPECT_EQ(sim.messageBox.shown[0].title, u"Kazunavi\u3000Error_11");
    EXPECT_EQ(sim.messageBox.shown[1].title, u"Kazunavi\u3000Error_12");
    EXPECT_TRUE(
        sim.messageBox.shown[1].prompt.ends_with(u"\r\n" + (sim.folder() / "user").u16string()));
    EXPECT_EQ(fileBytes(sim.folder() / "URL.ini"), stored);
    EXPECT_THROW(PlainFileStore().identity(sim.folder()), Failure);  // a folder is no list
    EXPECT_EQ(fileBytes(sim.folder() / "user" / "URL.ini"),
              "[Own]\r\n[KeepCount]\r\nCount=3\r\n[KeepURL]\r\nName0=a\r\nURL0=u\r\nName1=b\r\n"
              "URL1=v\r\nName2=c\r\nURL2=w\r\n");
}

// Unknown or negative, 29 characters; a title shorter than that is no capture.
TEST(Capture, TheBrowsersTitleSuffixIsCutOff) {
    SimDesktop sim;
    Form1 form;
    KeepList keep(form, sim.services());
    BrowserCapture capture(form, sim.services(), keep);
    sim.windowManager.foreground = 0x10;
    std::u16string kept;
    const std::u16string dashes(29, u'-');
    const std::pair<std::u16string, std::optional<int>> shown[] = {{u"Whole", 0},
                                                                   {u"Page - B", 4},
                                                                   {u"Title" + dashes, {}},
                                                                   {u"Other" + dashes, -1},
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
