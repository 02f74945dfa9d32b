#include "platform/linux/firefox_sessions.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <iterator>
#include <sstream>
#include <system_error>

#include "platform/linux/file_descriptor.h"

namespace kazunavi {

namespace {

// Firefox rewrites this about every 15 seconds while anything changed.
constexpr std::string_view kStore = "sessionstore-backups/recovery.jsonlz4";
// Far beyond any real session, so that a strange file costs bounded time.
constexpr off_t kLargestStore = 64 << 20;
constexpr std::size_t kLargestSession = 256 << 20;
constexpr std::chrono::seconds kHistoryPause{1};

// Files that Firefox holds open in its profile folder for as long as it runs.
bool isProfileFile(const std::filesystem::path& file) {
    const std::string name = file.filename().string();
    return name == "places.sqlite" || name == "cookies.sqlite" || name == ".parentlock";
}

// Field 22 of /proc/PID/stat, the start time, after the name in parentheses.
std::string startTime(const std::filesystem::path& process) {
    std::ifstream stat(process / "stat");
    const std::string text{std::istreambuf_iterator<char>(stat), {}};
    const auto nameEnd = text.rfind(')');
    if (nameEnd == std::string::npos) {
        return {};
    }
    std::istringstream fields(text.substr(nameEnd + 1));
    std::string field;
    for (int i = 3; i <= 22 && fields >> field; ++i) {
    }
    return field;
}

std::optional<std::string> readAll(int fd, off_t size) {
    std::string bytes(static_cast<std::size_t>(size), '\0');
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t got = ::read(fd, bytes.data() + done, bytes.size() - done);
        if (got <= 0) {
            return std::nullopt;
        }
        done += static_cast<std::size_t>(got);
    }
    return bytes;
}

}  // namespace

FirefoxSessions::FirefoxSessions(std::filesystem::path proc, FirefoxHistory history)
    : proc_(std::move(proc)), history_(std::move(history)) {}

std::optional<std::filesystem::path> FirefoxSessions::profileOf(std::uint32_t processId,
                                                                std::uint32_t windowId,
                                                                std::u16string_view windowTitle) {
    const std::filesystem::path process = proc_ / std::to_string(processId);
    auto known = profiles_.find(processId);
    // A window still in front is still its process's: the start time, read
    // from the kernel at a cost, is needed only for another window.
    std::string started;
    if (known != profiles_.end() && known->second.window == windowId) {
        started = known->second.started;
    } else {
        started = startTime(process);
        if (started.empty()) {
            profiles_.erase(processId);
            return std::nullopt;
        }
    }
    // Listing the open files of a program that holds hundreds is work: a
    // window of another program in front is looked at twice a second.
    if (known != profiles_.end() && known->second.started == started &&
        (known->second.folder || known->second.windowTitle == windowTitle)) {
        known->second.window = windowId;
        return known->second.folder;
    }
    Profile& profile = profiles_[processId];
    profile = Profile{started, windowId, std::nullopt, std::u16string(windowTitle)};
    std::error_code error;
    for (std::filesystem::directory_iterator fd(process / "fd", error), end; !error && fd != end;
         fd.increment(error)) {
        const std::filesystem::path target = std::filesystem::read_symlink(fd->path(), error);
        if (!error && target.is_absolute() && isProfileFile(target)) {
            profile.folder = target.parent_path();
            break;
        }
        error.clear();
    }
    return profile.folder;
}

const StoredPages* FirefoxSessions::pagesOf(const std::filesystem::path& profile) {
    const std::filesystem::path path = profile / kStore;
    FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    struct stat status {};
    if (file.get() < 0 || ::fstat(file.get(), &status) != 0 || !S_ISREG(status.st_mode)) {
        stores_.erase(profile);
        return nullptr;
    }
    Store& store = stores_[profile];
    if (store.device == status.st_dev && store.inode == status.st_ino &&
        store.size == status.st_size && store.modified.tv_sec == status.st_mtim.tv_sec &&
        store.modified.tv_nsec == status.st_mtim.tv_nsec) {
        return &store.pages;
    }
    // A file that cannot be read holds no page until it is replaced.
    store = Store{status.st_dev, status.st_ino, status.st_size, status.st_mtim, {}};
    if (status.st_size > kLargestStore) {
        return &store.pages;
    }
    if (const std::optional<std::string> bytes = readAll(file.get(), status.st_size)) {
        if (const std::optional<std::string> json = decompressMozLz4(*bytes, kLargestSession)) {
            store.pages = storedPages(*json).value_or(StoredPages{});
        }
    }
    return &store.pages;
}

std::optional<ShownPage> FirefoxSessions::pageShown(std::uint32_t processId, std::uint32_t windowId,
                                                    std::u16string_view windowTitle) {
    const std::optional<std::filesystem::path> profile =
        profileOf(processId, windowId, windowTitle);
    if (!profile) {
        return std::nullopt;
    }
    const StoredPages* pages = pagesOf(*profile);
    if (pages != nullptr && storeShowsTitle(pages->shown, windowTitle)) {
        return pageOfWindow(pages->shown, windowTitle).value_or(ShownPage{});
    }
    const Recent& recent = recentOf(*profile, windowTitle);
    const std::span<const StoredPage> tabs =
        pages != nullptr ? std::span<const StoredPage>(pages->tabs) : std::span<const StoredPage>();
    if (std::optional<ShownPage> page =
            visitedPageOfWindow(tabs, recent.visits, recent.now, windowTitle)) {
        return page;
    }
    // Without a store (another program of the same family, or a Firefox
    // that has not written one yet) the window is not known as a browser's.
    return pages != nullptr ? std::optional<ShownPage>(ShownPage{}) : std::nullopt;
}

const FirefoxSessions::Recent& FirefoxSessions::recentOf(const std::filesystem::path& profile,
                                                         std::u16string_view windowTitle) {
    Recent& recent = recent_[profile];
    const FileMark wal = markOf(profile / "places.sqlite-wal");
    const bool changed = !recent.read || recent.windowTitle != windowTitle || !(recent.wal == wal);
    const auto now = std::chrono::steady_clock::now();
    if (!changed || (recent.read && now - recent.at < kHistoryPause)) {
        return recent;
    }
    const std::int64_t since1970 = std::chrono::duration_cast<std::chrono::microseconds>(
                                       std::chrono::system_clock::now().time_since_epoch())
                                       .count();
    std::optional<std::vector<Visit>> visits =
        history_.visitsSince(profile, since1970 - kRecentVisit);
    recent = Recent{.read = true,
                    .windowTitle = std::u16string(windowTitle),
                    .wal = wal,
                    .at = now,
                    .now = since1970,
                    .visits = std::move(visits).value_or(std::vector<Visit>{})};
    return recent;
}

}  // namespace kazunavi
