#include "platform/linux/firefox_history.h"

#include <sqlite3.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>
#include <memory>
#include <string>
#include <system_error>

#include "platform/common/utf8.h"

namespace kazunavi {

namespace {

// Far beyond any real history, so that a strange file costs bounded time.
constexpr off_t kLargestFile = off_t{512} << 20;
// Far more pages than anybody visits in the time asked for.
constexpr int kMostVisits = 10000;

constexpr std::string_view kVisits =
    "SELECT p.url, p.title, MAX(v.visit_date) FROM moz_historyvisits v"
    " JOIN moz_places p ON p.id = v.place_id WHERE v.visit_date >= ?1 GROUP BY p.id";

// A folder of this user's alone (mode 0700), removed with what it holds.
class PrivateFolder {
  public:
    explicit PrivateFolder(const std::filesystem::path& scratch) {
        std::string name = (scratch / "kazunavi-places-XXXXXX").string();
        if (::mkdtemp(name.data()) != nullptr) {
            path_ = name;
        }
    }
    PrivateFolder(const PrivateFolder&) = delete;
    PrivateFolder& operator=(const PrivateFolder&) = delete;
    ~PrivateFolder() {
        std::error_code ignored;
        if (!path_.empty()) {
            std::filesystem::remove_all(path_, ignored);
        }
    }
    const std::filesystem::path& path() const { return path_; }

  private:
    std::filesystem::path path_;
};

// The WAL first: a checkpoint between the two copies changes the main file,
// which the marks taken around both show.
bool copyWhole(const std::filesystem::path& profile, const std::filesystem::path& into) {
    const std::filesystem::path wal = profile / "places.sqlite-wal";
    const std::filesystem::path main = profile / "places.sqlite";
    const FileMark walBefore = markOf(wal);
    const FileMark mainBefore = markOf(main);
    if (walBefore.state == FileMark::State::kRefused ||
        mainBefore.state != FileMark::State::kUsable) {
        return false;
    }
    std::error_code error;
    if (walBefore.state == FileMark::State::kUsable) {
        std::filesystem::copy_file(wal, into / wal.filename(), error);
    }
    if (error || !std::filesystem::copy_file(main, into / main.filename(), error)) {
        return false;
    }
    return markOf(wal) == walBefore && markOf(main) == mainBefore;
}

struct CloseDatabase {
    void operator()(sqlite3* database) const { sqlite3_close(database); }
};
struct FinalizeStatement {
    void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};

std::u16string textAt(sqlite3_stmt* statement, int column) {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
    return text == nullptr
               ? std::u16string{}
               : fromUtf8(
                     {text, static_cast<std::size_t>(sqlite3_column_bytes(statement, column))});
}

std::optional<std::vector<Visit>> visitsIn(const std::filesystem::path& file, std::int64_t since) {
    sqlite3* opened = nullptr;
    const int status = sqlite3_open_v2(file.c_str(), &opened, SQLITE_OPEN_READONLY, nullptr);
    const std::unique_ptr<sqlite3, CloseDatabase> database(opened);
    sqlite3_stmt* prepared = nullptr;
    if (status != SQLITE_OK ||
        sqlite3_prepare_v2(database.get(), kVisits.data(), static_cast<int>(kVisits.size()),
                           &prepared, nullptr) != SQLITE_OK) {
        return std::nullopt;
    }
    const std::unique_ptr<sqlite3_stmt, FinalizeStatement> statement(prepared);
    if (sqlite3_bind_int64(statement.get(), 1, since) != SQLITE_OK) {
        return std::nullopt;
    }
    std::vector<Visit> visits;
    int step = SQLITE_ROW;
    while ((step = sqlite3_step(statement.get())) == SQLITE_ROW) {
        if (visits.size() == kMostVisits) {
            return std::nullopt;
        }
        visits.push_back(Visit{textAt(statement.get(), 0), textAt(statement.get(), 1),
                               sqlite3_column_int64(statement.get(), 2)});
    }
    if (step != SQLITE_DONE) {
        return std::nullopt;
    }
    return visits;
}

}  // namespace

FileMark markOf(const std::filesystem::path& file) {
    struct stat status {};
    if (::stat(file.c_str(), &status) != 0) {
        return {errno == ENOENT ? FileMark::State::kMissing : FileMark::State::kRefused};
    }
    if (!S_ISREG(status.st_mode) || status.st_size > kLargestFile) {
        return {FileMark::State::kRefused};
    }
    return {FileMark::State::kUsable, status.st_size, status.st_mtim};
}

FirefoxHistory::FirefoxHistory(std::filesystem::path scratch) : scratch_(std::move(scratch)) {}

std::filesystem::path FirefoxHistory::defaultScratch() {
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime != nullptr && *runtime) {
        return runtime;
    }
    std::error_code error;
    std::filesystem::path temporary = std::filesystem::temp_directory_path(error);
    return error ? std::filesystem::path("/tmp") : temporary;
}

std::optional<std::vector<Visit>> FirefoxHistory::visitsSince(const std::filesystem::path& profile,
                                                              std::int64_t since) const {
    // Firefox commits while the files are copied now and then: one more try.
    for (int attempt = 0; attempt < 2; ++attempt) {
        const PrivateFolder copy(scratch_);
        if (copy.path().empty()) {
            return std::nullopt;
        }
        if (copyWhole(profile, copy.path())) {
            return visitsIn(copy.path() / "places.sqlite", since);
        }
    }
    return std::nullopt;
}

}  // namespace kazunavi
