#pragma once

// The profile functions: an INI file read and written as
// GetPrivateProfileStringA and WritePrivateProfileStringA do it, in code page
// 932 (UTF-8 in a file that is UTF-8) with CR LF lines. A write never leaves the file half written.

#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "platform/common/ini_document.h"
#include "platform/common/ini_file_text.h"
#include "platform/file_store.h"
#include "platform/services.h"

namespace kazunavi {

class IniProfileFile : public ProfileFile {
  public:
    // recheckInterval: how long reads trust the parsed file before they look
    // at the file again. By default every read looks (the file is read and
    // parsed again only when its identity changed). A longer interval makes
    // the thousands of reads of one keep list load cost one look, and a
    // change that another program makes meanwhile show up that much later.
    // A write always looks first.
    explicit IniProfileFile(
        FileStore& files, std::chrono::milliseconds recheckInterval = std::chrono::milliseconds(0))
        : files_(files), recheckInterval_(recheckInterval) {}

    // A file that is missing or cannot be read gives the default.
    std::u16string read(const std::filesystem::path& file, std::u16string_view section,
                        std::u16string_view key, std::u16string_view def, int size) override;
    // Failure when the file could not be written; it is then as it was.
    void write(const std::filesystem::path& file, std::u16string_view section,
               std::u16string_view key, std::u16string_view value) override;
    void removeSection(const std::filesystem::path& file, std::u16string_view section) override;

    // Between beginBatch and commitBatch the writes and removals for that
    // file change only its text in memory, and reads of it see that text;
    // commitBatch then writes the file once, with exactly the bytes the
    // single writes would have left (Failure when it cannot). One batch at a
    // time: beginBatch fails while one is open, or when the file cannot be
    // read.
    void beginBatch(const std::filesystem::path& file) override;
    void commitBatch() override;
    void discardBatch() override;

    // The copy is named after the file with ".bak-" and the first free number.
    std::optional<std::filesystem::path> keepCopy(const std::filesystem::path& file) override;
    std::vector<std::filesystem::path> takeKeptCopies() override;
    void copyFile(const std::filesystem::path& from, const std::filesystem::path& to) override;

  private:
    struct LoadedFile {
        std::filesystem::path path;  // absolute
        bool exists = false;
        IniFileEncoding encoding = IniFileEncoding::kCp932;
        IniDocument document;
        std::string bytes;  // the file as read or written
        FileIdentity identity;
        // Changed long enough before it was read that a later change cannot
        // share its modification time: then an unchanged identity proves an
        // unchanged content.
        bool settled = false;
        std::chrono::steady_clock::time_point checkedAt;
        // Read in place of other bytes this program had read or written.
        bool changedElsewhere = false;
    };
    struct PendingBatch {
        LoadedFile base;
        IniDocument document;
    };
    using Edit = std::function<void(IniDocument&, IniFileEncoding)>;

    const LoadedFile& current(const std::filesystem::path& path, bool forWrite);
    void change(const std::filesystem::path& file, const Edit& edit);
    void save(const LoadedFile& base, IniDocument document);
    std::filesystem::path copyBeside(const std::filesystem::path& path, std::string_view bytes);

    FileStore& files_;
    std::chrono::milliseconds recheckInterval_;
    std::optional<LoadedFile> cache_;
    std::optional<PendingBatch> batch_;
    std::vector<std::filesystem::path> keptCopies_;
    std::set<std::filesystem::path> tidied_;
};

}  // namespace kazunavi
