#include "platform/linux/firefox_session.h"

#include <gtest/gtest.h>
#include <lz4.h>

#include "platform/linux/firefox_sessions.h"
#include "support/scratch_folder.h"

namespace kazunavi {
namespace {

// What Firefox writes: the magic, the size, one LZ4 block.
std::string mozLz4(const std::string& text) {
    std::string block(static_cast<std::size_t>(LZ4_compressBound(static_cast<int>(text.size()))),
                      '\0');
    block.resize(static_cast<std::size_t>(LZ4_compress_default(
        text.data(), block.data(), static_cast<int>(text.size()), static_cast<int>(block.size()))));
    const auto size = static_cast<std::uint32_t>(text.size());
    std::string header{"mozLz40\0", 8};
    for (int shift = 0; shift < 32; shift += 8) {
        header += static_cast<char>((size >> shift) & 0xFF);
    }
    return header + block;
}

TEST(FirefoxSession, DecompressesOnlyAWholeMozLz4BufferWithinItsBound) {
    const std::string text = R"({"windows":[]} )" + std::string(3000, 'x') + "\xE8\xAA\x9E";
    const std::string buffer = mozLz4(text);
    ASSERT_LT(buffer.size(), text.size());
    EXPECT_EQ(decompressMozLz4(buffer, text.size()), text);
    EXPECT_EQ(decompressMozLz4(buffer, text.size() - 1), std::nullopt);  // over the bound
    EXPECT_EQ(decompressMozLz4(buffer.substr(0, buffer.size() - 4), 1 << 20), std::nullopt);
    std::string other = buffer;
    other[3] = 'X';  // another magic
    EXPECT_EQ(decompressMozLz4(other, 1 << 20), std::nullopt);
    other = buffer;
    other[8] = static_cast<char>(other[8] + 1);  // a size the block does not fill
    EXPECT_EQ(decompressMozLz4(other, 1 << 20), std::nullopt);
    EXPECT_EQ(decompressMozLz4(buffer.substr(0, 11), 1 << 20), std::nullopt);
    EXPECT_EQ(decompressMozLz4(mozLz4(""), 0), "");
}

TEST(FirefoxSession, FindsTheWindowsPageByItsWholeTitleOnly) {
    const std::optional<StoredPages> pages = storedPages(R"({"windows": [
        {"selected": 2, "tabs": [
            {"index": 1, "entries": [{"url": "http://h/other", "title": "Other"}]},
            {"index": 2, "entries": [{"url": "http://h/1", "title": "News"},
                                     {"url": "http://h/2", "title": "News — Site"}]}]},
        {"selected": 1, "tabs": [{"index": 1, "entries": [
            {"url": "about:preferences", "title": "Settings"}]}]},
        {"selected": 1, "tabs": [{"index": 1, "entries": [
            {"url": "https://h/s", "title": "Blog"}]}]},
        {"selected": 1, "tabs": [{"index": 1, "entries": [{"url": "http://h/a", "title": "Twin"}]}]},
        {"selected": 1, "tabs": [{"index": 1, "entries": [{"url": "http://h/b", "title": "Twin"}]}]},
        {"selected": 3, "tabs": []}, {"selected": 1, "tabs": 5}, {"tabs": [{}]}, {"selected": 1},
        {"selected": 1, "tabs": [{"index": 0, "entries": [{"url": "http://h/x"}]}]},
        {"selected": 1, "tabs": [{"index": 1, "entries": [{"url": "http://h/n", "title": 7}]}]}]})");
    ASSERT_TRUE(pages);
    ASSERT_EQ(pages->shown.size(), 6u);  // the broken windows show nothing
    EXPECT_EQ(pages->tabs.size(), 7u);
    EXPECT_EQ(pages->tabs[0].url, u"http://h/other");
    const auto page = [&](std::u16string_view title) { return pageOfWindow(pages->shown, title); };
    // The current entry of the selected tab; its title holds the separator.
    const std::optional<ShownPage> news = page(u"News — Site — Mozilla Firefox");
    ASSERT_TRUE(news);
    EXPECT_EQ(news->url, u"http://h/2");
    EXPECT_EQ(news->titleSuffixLength, 18);
    EXPECT_EQ(page(u"Blog — Mozilla Firefox Private Browsing")->url, u"https://h/s");
    // A store older than the window's title, an earlier entry, a tab behind.
    EXPECT_FALSE(page(u"Blog — Post — Mozilla Firefox"));
    EXPECT_FALSE(page(u"News — Mozilla Firefox"));
    EXPECT_FALSE(page(u"Other — Mozilla Firefox"));
    EXPECT_FALSE(page(u"Settings — Mozilla Firefox"));  // no web page
    EXPECT_FALSE(page(u"Twin — Mozilla Firefox"));      // two pages
    EXPECT_FALSE(page(u"Blog"));
    EXPECT_FALSE(page(u"News — Site"));
    EXPECT_FALSE(page(u" — Mozilla Firefox"));  // untitled: not told apart from another
    EXPECT_EQ(page(u"Blog - Mozilla Firefox")->url, u"https://h/s");
    // A tab behind and an earlier entry are no window's page: the store is old.
    EXPECT_TRUE(storeShowsTitle(pages->shown, u"Twin — Mozilla Firefox"));
    EXPECT_FALSE(storeShowsTitle(pages->shown, u"Other — Mozilla Firefox"));
    EXPECT_FALSE(storeShowsTitle(pages->shown, u"News — Mozilla Firefox"));
    EXPECT_FALSE(storedPages("{\"windows\": [{\"selected\": 1, "));
    EXPECT_FALSE(storedPages("[1, 2]"));
    EXPECT_FALSE(storedPages(""));
}

// Until the store shows it, the page is the one address that the visits of
// the last minute and the stored tabs give the window's title.
TEST(FirefoxSession, TakesTheOneRecentAddressWithTheWindowsTitle) {
    const std::int64_t now = 1'800'000'000'000'000;
    const Visit fresh{u"https://h/new", u"Page", now - 1'000'000};
    const Visit old{u"http://h/old", u"Page", now - kRecentVisit - 1};
    const Visit other{u"http://h/other", u"Other", now};
    const StoredPage tab{u"Page", u"http://h/tab"};
    const struct {
        std::vector<Visit> visits;
        std::vector<StoredPage> tabs;
        std::u16string url;
    } cases[] = {
        {{old, fresh, other, fresh},
         {{u"Page", u"https://h/new"}, {u"Other", u"x"}},
         u"https://h/new"},
        {{other}, {tab}, u"http://h/tab"},                       // a tab behind, not yet shown
        {{old, other}, {}, u""},                                 // an old visit only
        {{fresh, {u"http://h/2", u"Page", now}}, {}, u""},       // two addresses
        {{fresh}, {tab}, u""},                                   // a tab with another one
        {{{u"file:///home/Page.html", u"Page", now}}, {}, u""},  // no web page
        {{}, {}, u""},
    };
    for (const auto& c : cases) {
        const std::optional<ShownPage> page =
            visitedPageOfWindow(c.tabs, c.visits, now, u"Page — Mozilla Firefox");
        EXPECT_EQ(page ? page->url : u"", c.url);
    }
    EXPECT_EQ(
        visitedPageOfWindow({}, {&fresh, 1}, now, u"Page — Mozilla Firefox")->titleSuffixLength,
        18);
    EXPECT_FALSE(visitedPageOfWindow({}, {&fresh, 1}, now, u"Page"));
    // A page without a title is not told apart from any other untitled one.
    const Visit untitled{u"http://h/untitled", u"", now};
    EXPECT_FALSE(visitedPageOfWindow({}, {&untitled, 1}, now, u" — Mozilla Firefox"));
}

// A process is known by the profile files it holds open, again after its id
// went to another process; a store is read anew when it was replaced.
TEST(FirefoxSessions, AProcessesProfileAndItsStore) {
    test::ScratchFolder root;
    namespace fs = std::filesystem;
    const auto process = [&](const std::string& id, const std::string& started,
                             const std::vector<fs::path>& open) {
        fs::remove_all(root / "proc" / id);
        fs::create_directories(root / "proc" / id / "fd");
        test::putFile(
            root / "proc" / id / "stat",
            id + " (a) b) S 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19 20 21 " + started + " 23 24");
        for (std::size_t fd = 0; fd < open.size(); ++fd) {
            fs::create_symlink(open[fd], root / "proc" / id / "fd" / std::to_string(fd));
        }
    };
    const auto store = [&](const std::string& profile, const std::string& title) {
        fs::create_directories(root / profile / "sessionstore-backups");
        test::putFile(root / profile / "sessionstore-backups" / "recovery.jsonlz4",
                      mozLz4(R"({"windows": [{"selected": 1, "tabs": [{"index": 1, "entries": [
                          {"url": "http://h/)" +
                             profile + R"(", "title": ")" + title + R"("}]}]}]})"));
    };
    process("7", "900", {"/dev/null", root / "p" / "places.sqlite"});
    process("9", "900", {"/dev/null", root / "p" / "places.sqlite.bak"});
    FirefoxSessions sessions(root / "proc");
    EXPECT_FALSE(sessions.pageShown(7, 1, u"A — Mozilla Firefox"));  // no store yet
    store("p", "A");
    EXPECT_EQ(sessions.pageShown(7, 1, u"A — Mozilla Firefox")->url, u"http://h/p");
    EXPECT_EQ(sessions.pageShown(7, 1, u"B — Mozilla Firefox")->url, u"");
    EXPECT_FALSE(sessions.pageShown(8, 1, u"A — Mozilla Firefox"));  // no such process
    EXPECT_FALSE(sessions.pageShown(9, 1, u"A — Mozilla Firefox"));  // no profile held
    // A program that held none is looked at again when its title changed.
    process("9", "900", {root / "p" / "places.sqlite"});
    EXPECT_FALSE(sessions.pageShown(9, 1, u"A — Mozilla Firefox"));
    EXPECT_EQ(sessions.pageShown(9, 1, u"Bb — Mozilla Firefox")->url, u"");
    store("p", "Bb");
    EXPECT_EQ(sessions.pageShown(7, 1, u"Bb — Mozilla Firefox")->url, u"http://h/p");
    store("q", "A");
    // The id goes to another process, which shows another window: only
    // the window still in front is known to be the same process's.
    process("7", "901", {root / "q" / ".parentlock"});
    EXPECT_EQ(sessions.pageShown(7, 1, u"Bb — Mozilla Firefox")->url, u"http://h/p");
    EXPECT_EQ(sessions.pageShown(7, 2, u"A — Mozilla Firefox")->url, u"http://h/q");
}

}  // namespace
}  // namespace kazunavi
