#pragma once

// Firefox's history (places.sqlite in the profile), which holds a visit
// within a second, long before the session store is rewritten. Firefox keeps
// it open in WAL mode with an exclusive lock, so no other program can open
// it, and its last commits are only in the WAL: the two files are copied
// into a private folder and the copy is read.

#include <sys/types.h>

#include <cstdint>
#include <ctime>
#include <filesystem>
#include <optional>
#include <vector>

#include "platform/linux/firefox_session.h"

namespace kazunavi {

// What tells whether a file was written: its size and modification time. A
// file that is no regular file or is over 512 MiB is refused.
struct FileMark {
    enum class State { kMissing, kUsable, kRefused };
    State state = State::kMissing;
    off_t size = 0;
    timespec modified{};

    friend bool operator==(const FileMark& a, const FileMark& b) {
        return a.state == b.state && a.size == b.size && a.modified.tv_sec == b.modified.tv_sec &&
               a.modified.tv_nsec == b.modified.tv_nsec;
    }
};
FileMark markOf(const std::filesystem::path& file);

class FirefoxHistory {
  public:
    // scratch: where the private folders of the copies are made.
    explicit FirefoxHistory(std::filesystem::path scratch = defaultScratch());

    // The visits of the history in this profile folder since a moment
    // (microseconds since 1970), with their pages' addresses and titles.
    // Nothing when the files cannot be copied whole (Firefox wrote them
    // during both tries), the main file is over 512 MiB, or SQLite fails.
    std::optional<std::vector<Visit>> visitsSince(const std::filesystem::path& profile,
                                                  std::int64_t since) const;

    // $XDG_RUNTIME_DIR, private to the user, else the temporary folder.
    static std::filesystem::path defaultScratch();

  private:
    std::filesystem::path scratch_;
};

}  // namespace kazunavi
