#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "keep/capture.h"
#include "keep/keep_list.h"
#include "platform/common/browser_frames.h"
#include "platform/sim/sim_desktop.h"
#include "shell/model/form1.h"

namespace kazunavi {
namespace {

constexpr int kBuffer = 128;  // the narrow window-text buffer of the capture
constexpr std::uint32_t kFirefox = 4100;
constexpr std::uint32_t kChromium = 4200;

// Which frame is the window in front: process id and exact title, ACTIVE only
// to tell apart frames that both fit.
TEST(MatchFrame, TheFrameOfTheProcessWithExactlyTheWindowsTitle) {
    const std::vector<FrameFacts> frames = {
        {u"Page A — Mozilla Firefox", kChromium, true},
        {u"Page B — Mozilla Firefox", kFirefox, true},
        {u"Page A — Mozilla Firefox", kFirefox, false},
    };
    EXPECT_EQ(matchFrame(frames, kFirefox, u"Page A — Mozilla Firefox"), 2u);
    EXPECT_EQ(matchFrame(frames, kChromium, u"Page A — Mozilla Firefox"), 0u);
    for (std::u16string_view title :
         {u"page A — Mozilla Firefox", u"Page A — Mozilla Firefox ", u"Page A — Mozilla", u""}) {
        EXPECT_FALSE(matchFrame(frames, kFirefox, title));
    }
    // A sandboxed browser publishes under a process id of its own namespace.
    const std::vector<FrameFacts> sandboxed = {{u"Page - Chromium", 2, true}, {u"", 0, true}};
    EXPECT_FALSE(matchFrame(sandboxed, kChromium, u"Page - Chromium"));
    EXPECT_FALSE(matchFrame(sandboxed, 0, u""));
    EXPECT_FALSE(matchFrame({}, kChromium, u"Page - Chromium"));
}

TEST(MatchFrame, OfTwoEqualWindowsTheActiveOne) {
    const std::u16string title = u"Same — Mozilla Firefox";
    std::vector<FrameFacts> frames = {{title, kFirefox, false},
                                      {u"Other — Mozilla Firefox", kFirefox, true},
                                      {title, kFirefox, true}};
    EXPECT_EQ(matchFrame(frames, kFirefox, title), 2u);

    // Neither or both active: no way to tell which one is in front.
    frames[2].active = false;
    EXPECT_FALSE(matchFrame(frames, kFirefox, title));
    frames[0].active = frames[2].active = true;
    EXPECT_FALSE(matchFrame(frames, kFirefox, title));

    // A single fit needs no active state: the window manager's word on what is
    // in front outweighs the browser's.
    frames = {{title, kFirefox, false}};
    EXPECT_EQ(matchFrame(frames, kFirefox, title), 0u);
}

// What the browser added to the page's title, in characters of the narrow
// window title.
TEST(TitleSuffixLength, TheBrowsersOwnEnding) {
    EXPECT_EQ(titleSuffixLength(u"Page A — Mozilla Firefox", u"Page A", kBuffer), 18);
    EXPECT_EQ(titleSuffixLength(u"Page B 日本 - Chromium", u"Page B 日本", kBuffer), 11);
    EXPECT_EQ(titleSuffixLength(u"Bare", u"Bare", kBuffer), 0);
    // An untitled page leaves the whole title to the browser.
    EXPECT_EQ(titleSuffixLength(u"Mozilla Firefox", u"", kBuffer), 15);
    EXPECT_EQ(titleSuffixLength(u"", u"", kBuffer), 0);
    // An emoji is two UTF-16 units but one '?' in the narrow title.
    EXPECT_EQ(titleSuffixLength(u"Fun — \U0001F600", u"Fun", kBuffer), 4);
    EXPECT_EQ(titleSuffixLength(u"\U0001F600 Fun - Chromium", u"\U0001F600 Fun", kBuffer), 11);
}

TEST(TitleSuffixLength, OnlyWhatIsLeftOfTheSuffixInTheCutTitleCounts) {
    // 60 kanji take 120 bytes; of " — Mozilla Firefox" (19 bytes) the first
    // 7 bytes fit, " — Moz": 6 characters.
    const std::u16string page(60, u'語');
    EXPECT_EQ(titleSuffixLength(page + u" — Mozilla Firefox", page, kBuffer), 6);
    // 64 kanji fill the buffer alone: nothing of the suffix is left.
    const std::u16string longPage(64, u'語');
    EXPECT_EQ(titleSuffixLength(longPage + u" — Mozilla Firefox", longPage, kBuffer), 0);
}

TEST(TitleSuffixLength, ATitleOfAnotherMomentIsNotMeasured) {
    // The window still shows the previous page's title.
    EXPECT_FALSE(titleSuffixLength(u"Go page — Mozilla Firefox", u"Page B", kBuffer));
    EXPECT_FALSE(titleSuffixLength(u"Page", u"Page B", kBuffer));
    EXPECT_FALSE(titleSuffixLength(u"", u"Page", kBuffer));
}

// An untitled page, or a window title of another moment, counts only when
// the next look sees the same; any change starts again.
TEST(SecondLook, BelievesWhatTwoLooksInARowSee) {
    SecondLook look;
    EXPECT_FALSE(look.confirms(":1.2/doc/7", u"Mozilla Firefox", u""));
    EXPECT_TRUE(look.confirms(":1.2/doc/7", u"Mozilla Firefox", u""));
    EXPECT_TRUE(look.confirms(":1.2/doc/7", u"Mozilla Firefox", u""));

    EXPECT_FALSE(look.confirms(":1.2/doc/7", u"Page B — Mozilla Firefox", u"Page B"));
    EXPECT_FALSE(look.confirms(":1.2/doc/8", u"Page B — Mozilla Firefox", u"Page B"));
    EXPECT_FALSE(look.confirms(":1.2/doc/8", u"Page B — Mozilla Firefox", u"Page C"));
    EXPECT_FALSE(look.confirms(":1.3/doc/8", u"Page B — Mozilla Firefox", u"Page C"));
    EXPECT_TRUE(look.confirms(":1.3/doc/8", u"Page B — Mozilla Firefox", u"Page C"));
}

// The capture given the suffix that the lookup measures keeps the page's own
// title, however long the window title is; an untitled page gives an empty one.
TEST(CaptureWithSuffix, KeepsThePageTitleOfEitherBrowser) {
    SimDesktop sim;
    Form1 form;
    KeepList keep(form, sim.services());
    BrowserCapture capture(form, sim.services(), keep);
    const auto front = [&](const std::u16string& windowTitle, const std::u16string& pageTitle) {
        sim.windowManager.foreground = 0x2600003;
        sim.windowManager.titles[0x2600003] = windowTitle;
        sim.browserWindows.windows = {
            BrowserWindow{0x2600003, u"http://127.0.0.1/p.html",
                          titleSuffixLength(windowTitle, pageTitle, kBuffer)}};
        capture.timGETURL_Timer();
        return form.lTTL.text();
    };
    EXPECT_EQ(front(u"Page A — Mozilla Firefox", u"Page A"), u"Page A");
    EXPECT_EQ(front(u"日本のページ - Chromium", u"日本のページ"), u"日本のページ");
    EXPECT_EQ(form.lURL.text(), u"http://127.0.0.1/p.html");
    EXPECT_EQ(front(u"Mozilla Firefox", u""), u"");
    const std::u16string page(60, u'語');
    EXPECT_EQ(front(page + u" — Mozilla Firefox", page), page);
    const std::u16string longPage(70, u'語');
    EXPECT_EQ(front(longPage + u" — Mozilla Firefox", longPage), std::u16string(63, u'語'));
}

}  // namespace
}  // namespace kazunavi
