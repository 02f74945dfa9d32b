#pragma once

// The session stores of the running Firefox processes, read from their
// profiles. A process's profile is the folder of the profile files it holds
// open (/proc/PID/fd): that is the profile it really uses, however it was
// chosen (-profile, -P, profiles.ini or the default of its installation),
// with nothing to guess. A store is read again only when it was replaced.
// Where the store does not show the window's page yet, the history is read:
// again only when the window's title or the history's WAL changed, and at
// most once a second.

#include <sys/types.h>

#include <chrono>
#include <cstdint>
#include <ctime>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/linux/firefox_history.h"
#include "platform/linux/firefox_session.h"

namespace kazunavi {

class FirefoxSessions {
  public:
    // proc: where the processes are listed (/proc).
    explicit FirefoxSessions(std::filesystem::path proc = "/proc",
                             FirefoxHistory history = FirefoxHistory());

    // The web page in the window with this title of this process, as the
    // session store of its profile tells it, or else its history: an empty
    // address where neither shows it for sure (or it is no web page);
    // nothing where the process is no Firefox of this user, or has no store
    // and its history does not show the page.
    std::optional<ShownPage> pageShown(std::uint32_t processId, std::uint32_t windowId,
                                       std::u16string_view windowTitle);

  private:
    struct Profile {
        std::string started;       // the process's start time: a reused id is another process
        std::uint32_t window = 0;  // the window it was last asked for
        // None: the process held no profile file while its window had this
        // title. A Firefox holds them from before its first window shows.
        std::optional<std::filesystem::path> folder;
        std::u16string windowTitle;
    };
    struct Store {
        dev_t device = 0;
        ino_t inode = 0;
        off_t size = 0;
        timespec modified{};
        StoredPages pages;
    };
    struct Recent {
        bool read = false;
        std::u16string windowTitle;
        FileMark wal;
        std::chrono::steady_clock::time_point at;
        std::int64_t now = 0;  // microseconds since 1970, when read
        std::vector<Visit> visits;
    };

    std::optional<std::filesystem::path> profileOf(std::uint32_t processId, std::uint32_t windowId,
                                                   std::u16string_view windowTitle);
    const StoredPages* pagesOf(const std::filesystem::path& profile);
    const Recent& recentOf(const std::filesystem::path& profile, std::u16string_view windowTitle);

    std::filesystem::path proc_;
    FirefoxHistory history_;
    std::map<std::uint32_t, Profile> profiles_;
    std::map<std::filesystem::path, Store> stores_;
    std::map<std::filesystem::path, Recent> recent_;
};

}  // namespace kazunavi
