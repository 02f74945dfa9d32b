#pragma once

// The session stores of the running Firefox processes, read from their
// profiles. A process's profile is the folder of the profile files it holds
// open (/proc/PID/fd): that is the profile it really uses, however it was
// chosen (-profile, -P, profiles.ini or the default of its installation),
// with nothing to guess. A store is read again only when it was replaced.

#include <sys/types.h>

#include <cstdint>
#include <ctime>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/linux/firefox_session.h"

namespace kazunavi {

class FirefoxSessions {
  public:
    // proc: where the processes are listed (/proc).
    explicit FirefoxSessions(std::filesystem::path proc = "/proc");

    // The web page in the window with this title of this process, as the
    // session store of its profile tells it: an empty address where the store
    // does not show it (not yet written since the window's last navigation,
    // or no web page); nothing where the process is no Firefox of this user
    // or has no store.
    std::optional<ShownPage> pageShown(std::uint32_t processId, std::u16string_view windowTitle);

  private:
    struct Profile {
        std::string started;  // the process's start time: a reused id is another process
        std::filesystem::path folder;
    };
    struct Store {
        dev_t device = 0;
        ino_t inode = 0;
        off_t size = 0;
        timespec modified{};
        std::vector<StoredPage> pages;
    };

    std::optional<std::filesystem::path> profileOf(std::uint32_t processId);
    const std::vector<StoredPage>* pagesOf(const std::filesystem::path& profile);

    std::filesystem::path proc_;
    std::map<std::uint32_t, Profile> profiles_;
    std::map<std::filesystem::path, Store> stores_;
};

}  // namespace kazunavi
