#include "platform/common/ini_profile.h"

#include <algorithm>
#include <utility>

#include "platform/failure.h"

namespace kazunavi {

namespace {

// More than the coarsest modification-time step of common file systems (FAT
// counts in 2 s steps).
constexpr std::int64_t kSettleSeconds = 3;

bool settledNow(const FileIdentity& identity) {
    const auto now = std::chrono::floor<std::chrono::seconds>(std::chrono::system_clock::now());
    return now.time_since_epoch().count() - identity.modifiedSeconds > kSettleSeconds;
}

std::string_view withoutTrailingSpaces(std::string_view text) {
    return text.substr(0, text.find_last_not_of(' ') + 1);
}

// The functions take C strings: a text ends at its first NUL.
std::string inDocument(std::u16string_view text, IniFileEncoding encoding) {
    return documentText(text.substr(0, std::min(text.find(u'\0'), text.size())), encoding);
}

}  // namespace

const IniProfileFile::LoadedFile& IniProfileFile::current(const std::filesystem::path& path,
                                                          bool forWrite) {
    const auto now = std::chrono::steady_clock::now();
    if (cache_ && cache_->path == path) {
        if (!forWrite && now - cache_->checkedAt < recheckInterval_) {
            return *cache_;
        }
        const auto identity = files_.identity(path);
        const bool unchanged =
            identity ? cache_->exists && cache_->settled && *identity == cache_->identity
                     : !cache_->exists;
        if (unchanged) {
            cache_->checkedAt = now;
            return *cache_;
        }
    }
    // The bytes this program last read or wrote (none for a missing file),
    // to tell a real change from a new look at the same content.
    std::optional<std::string> known;
    if (cache_ && cache_->path == path) {
        known = std::move(cache_->bytes);
    }
    // The first look at a file is at the program's start, when no save of it
    // runs: what killed saves left behind goes.
    if (tidied_.insert(path).second) {
        files_.removeLeftovers(path);
    }
    cache_.reset();
    LoadedFile loaded;
    loaded.path = path;
    loaded.checkedAt = now;
    if (auto contents = files_.read(path)) {
        loaded.changedElsewhere = known && *known != contents->bytes;
        IniFileText text = parseIniFile(contents->bytes);
        loaded.exists = true;
        loaded.encoding = text.encoding;
        loaded.document = std::move(text.document);
        loaded.bytes = std::move(contents->bytes);
        loaded.identity = contents->identity;
        loaded.settled = settledNow(loaded.identity);
    }
    cache_ = std::move(loaded);
    return *cache_;
}

std::u16string IniProfileFile::read(const std::filesystem::path& file, std::u16string_view section,
                                    std::u16string_view key, std::u16string_view def, int size) {
    const auto path = std::filesystem::absolute(file);
    const IniDocument* document = nullptr;
    IniFileEncoding encoding = IniFileEncoding::kCp932;
    if (batch_ && batch_->base.path == path) {
        document = &batch_->document;
        encoding = batch_->base.encoding;
    } else {
        try {
            const LoadedFile& loaded = current(path, false);
            document = &loaded.document;
            encoding = loaded.encoding;
        } catch (const Failure&) {
            // An unreadable file reads as a missing one.
        }
    }

    const auto value =
        document ? document->value(inDocument(section, encoding), inDocument(key, encoding))
                 : std::nullopt;
    // The default is given as a value is, without enclosing quotes, and
    // without its trailing spaces (only those).
    const std::string defaultText = inDocument(def, encoding);
    std::string_view text =
        value ? *value : withoutEnclosingQuotes(withoutTrailingSpaces(defaultText));
    if (size <= 0) {
        return {};
    }
    // The caller's buffer ends at the first NUL and holds size-1 units at most.
    text = text.substr(0, std::min(text.find('\0'), text.size()));
    return callerText(text, encoding, static_cast<std::size_t>(size) - 1);
}

void IniProfileFile::write(const std::filesystem::path& file, std::u16string_view section,
                           std::u16string_view key, std::u16string_view value) {
    change(file, [&](IniDocument& document, IniFileEncoding encoding) {
        document.set(inDocument(section, encoding), inDocument(key, encoding),
                     inDocument(value, encoding));
    });
}

void IniProfileFile::removeSection(const std::filesystem::path& file, std::u16string_view section) {
    change(file, [&](IniDocument& document, IniFileEncoding encoding) {
        document.removeSection(inDocument(section, encoding));
    });
}

void IniProfileFile::change(const std::filesystem::path& file, const Edit& edit) {
    const auto path = std::filesystem::absolute(file);
    if (batch_ && batch_->base.path == path) {
        edit(batch_->document, batch_->base.encoding);
        return;
    }
    const LoadedFile& base = current(path, true);
    IniDocument document = base.document;
    edit(document, base.encoding);
    save(base, std::move(document));
}

void IniProfileFile::save(const LoadedFile& base, IniDocument document) {
    std::string bytes = serializeIniFile(document, base.encoding);
    if (bytes == base.bytes) {
        return;  // nothing to change (and no empty file to create)
    }
    if (base.changedElsewhere) {
        keptCopies_.push_back(copyBeside(base.path, base.bytes));
    }
    LoadedFile saved;
    saved.path = base.path;
    saved.encoding = base.encoding;
    saved.identity = files_.replace(base.path, bytes);
    saved.exists = true;
    saved.document = std::move(document);
    saved.bytes = std::move(bytes);
    saved.settled = true;  // its content is what was just written
    saved.checkedAt = std::chrono::steady_clock::now();
    cache_ = std::move(saved);
}

void IniProfileFile::beginBatch(const std::filesystem::path& file) {
    if (batch_) {
        throw Failure("a batch of profile writes is already open");
    }
    const LoadedFile& base = current(std::filesystem::absolute(file), true);
    batch_ = PendingBatch{base, base.document};
}

void IniProfileFile::commitBatch() {
    if (!batch_) {
        return;
    }
    PendingBatch pending = std::move(*batch_);
    batch_.reset();
    save(pending.base, std::move(pending.document));
}

void IniProfileFile::discardBatch() {
    batch_.reset();
}

std::filesystem::path IniProfileFile::copyBeside(const std::filesystem::path& path,
                                                 std::string_view bytes) {
    for (int number = 1;; ++number) {
        std::filesystem::path copy = path;
        copy += ".bak-" + std::to_string(number);
        if (!files_.identity(copy)) {
            files_.replace(copy, bytes);
            return copy;
        }
    }
}

std::optional<std::filesystem::path> IniProfileFile::keepCopy(const std::filesystem::path& file) {
    const auto path = std::filesystem::absolute(file);
    if (auto contents = files_.read(path)) {
        return copyBeside(path, contents->bytes);
    }
    return std::nullopt;
}

void IniProfileFile::copyFile(const std::filesystem::path& from, const std::filesystem::path& to) {
    if (const auto contents = files_.read(std::filesystem::absolute(from))) {
        files_.replace(std::filesystem::absolute(to), contents->bytes);
    }
}

std::vector<std::filesystem::path> IniProfileFile::takeKeptCopies() {
    return std::exchange(keptCopies_, {});
}

}  // namespace kazunavi
