#include "platform/linux/firefox_history.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <chrono>
#include <memory>

#include "platform/linux/firefox_sessions.h"
#include "support/scratch_folder.h"

namespace kazunavi {
namespace {

// Firefox holds its history with an exclusive lock, its last commits in the
// WAL alone: a copy of both files tells them, and goes after each read.
TEST(FirefoxHistory, ReadsTheCommitsOfAHistoryHeldOpenFromACopy) {
    namespace fs = std::filesystem;
    test::ScratchFolder root;
    fs::create_directories(root / "p");
    fs::create_directories(root / "scratch");
    const std::int64_t now = std::chrono::duration_cast<std::chrono::microseconds>(
                                 std::chrono::system_clock::now().time_since_epoch())
                                 .count();
    sqlite3* opened = nullptr;
    ASSERT_EQ(sqlite3_open((root / "p" / "places.sqlite").c_str(), &opened), SQLITE_OK);
    const std::unique_ptr<sqlite3, int (*)(sqlite3*)> firefox(opened, sqlite3_close);
    // Written, and read so that the lock is held, as Firefox does.
    const std::string firefoxWrites =
        "PRAGMA locking_mode=EXCLUSIVE; PRAGMA journal_mode=WAL;"
        "CREATE TABLE moz_places(id INTEGER PRIMARY KEY, url TEXT, title TEXT);"
        "CREATE TABLE moz_historyvisits(place_id INTEGER, visit_date INTEGER);"
        "INSERT INTO moz_places VALUES (1, 'http://h/a', 'A 語'), (2, 'http://h/b', NULL);"
        "INSERT INTO moz_historyvisits VALUES (1, 5), (2, 7), (2, 6), (1, " +
        std::to_string(now) + "); SELECT * FROM moz_places;";
    ASSERT_EQ(sqlite3_exec(firefox.get(), firefoxWrites.c_str(), nullptr, nullptr, nullptr),
              SQLITE_OK);
    ASSERT_LE(fs::file_size(root / "p" / "places.sqlite"), 4096u);  // the rows are in the WAL

    const FirefoxHistory history(root / "scratch");
    const std::optional<std::vector<Visit>> visits = history.visitsSince(root / "p", 6);
    ASSERT_TRUE(visits);
    ASSERT_EQ(visits->size(), 2u);  // each page's last visit since then
    EXPECT_EQ((*visits)[0].url, u"http://h/a");
    EXPECT_EQ((*visits)[0].title, u"A 語");
    EXPECT_EQ((*visits)[0].time, now);
    EXPECT_EQ((*visits)[1].title, u"");
    EXPECT_EQ((*visits)[1].time, 7);
    EXPECT_TRUE(fs::is_empty(root / "scratch"));
    EXPECT_FALSE(history.visitsSince(root / "none", 0));
    fs::create_directories(root / "big");
    test::putFile(root / "big" / "places.sqlite", "");
    fs::resize_file(root / "big" / "places.sqlite", std::uintmax_t{513} << 20);
    EXPECT_FALSE(history.visitsSince(root / "big", 0));  // not even copied
    // A history whose WAL cannot be copied is not read without it.
    fs::create_directories(root / "badwal");
    ASSERT_EQ(sqlite3_open((root / "badwal" / "places.sqlite").c_str(), &opened), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(opened, firefoxWrites.substr(firefoxWrites.find("CREATE")).c_str(),
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(opened);
    fs::create_directories(root / "badwal" / "places.sqlite-wal");
    EXPECT_FALSE(history.visitsSince(root / "badwal", 0));

    // A Firefox without a store yet: its window's page comes from the history.
    fs::create_directories(root / "proc" / "7" / "fd");
    test::putFile(root / "proc" / "7" / "stat",
                  "7 (f) S 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19");
    fs::create_symlink(root / "p" / "places.sqlite", root / "proc" / "7" / "fd" / "3");
    FirefoxSessions sessions(root / "proc", FirefoxHistory(root / "scratch"));
    EXPECT_EQ(sessions.pageShown(7, 1, u"A 語 — Mozilla Firefox")->url, u"http://h/a");
    // Read again at most once a second, also for a new title.
    const std::string visitB =
        "INSERT INTO moz_places VALUES (3, 'http://h/B', 'B');"
        "INSERT INTO moz_historyvisits VALUES (3, " +
        std::to_string(now) + ");";
    ASSERT_EQ(sqlite3_exec(firefox.get(), visitB.c_str(), nullptr, nullptr, nullptr), SQLITE_OK);
    EXPECT_FALSE(sessions.pageShown(7, 1, u"B — Mozilla Firefox"));
}

}  // namespace
}  // namespace kazunavi
