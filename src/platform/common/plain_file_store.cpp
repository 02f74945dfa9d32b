#include "platform/common/plain_file_store.h"

#include <chrono>
#include <fstream>
#include <iterator>
#include <random>

#include "platform/failure.h"

namespace kazunavi {

namespace fs = std::filesystem;

namespace {

[[noreturn]] void fail(const std::string& what, const fs::path& path) {
    throw Failure(what + " " + path.string());
}

std::string uniqueSuffix() {
    std::random_device random;
    std::string suffix = std::to_string(random());
    suffix.append(std::to_string(random()));
    return suffix;
}

// The temporary files of a file's saves start so.
std::string savingPrefix(const fs::path& file) {
    // Built by appending: GCC 12 warns falsely on a chain of + here (-Wrestrict).
    std::string name = ".";
    name.append(file.filename().string()).append(".saving-");
    return name;
}

fs::path folderOf(const fs::path& file) {
    return file.has_parent_path() ? file.parent_path() : fs::path(".");
}

}  // namespace

void PlainFileStore::removeLeftovers(const fs::path& file) {
    const std::string prefix = savingPrefix(file);
    std::error_code error;
    for (fs::directory_iterator it(folderOf(file), error), end; !error && it != end;
         it.increment(error)) {
        if (it->path().filename().string().starts_with(prefix)) {
            fs::remove(it->path(), error);
        }
    }
}

std::optional<FileIdentity> PlainFileStore::identity(const fs::path& file) {
    std::error_code error;
    const fs::file_status status = fs::status(file, error);
    if (!fs::exists(status)) {
        return std::nullopt;
    }
    if (!fs::is_regular_file(status)) {
        fail("not a regular file:", file);
    }
    const auto size = fs::file_size(file, error);
    const auto modified = fs::last_write_time(file, error);
    if (error) {
        fail("cannot examine", file);
    }
    const auto sinceEpoch = std::chrono::file_clock::to_sys(modified).time_since_epoch();
    const auto seconds = std::chrono::floor<std::chrono::seconds>(sinceEpoch);
    FileIdentity identity;
    identity.size = static_cast<std::int64_t>(size);
    identity.modifiedSeconds = seconds.count();
    identity.modifiedNanoseconds =
        std::chrono::duration_cast<std::chrono::nanoseconds>(sinceEpoch - seconds).count();
    return identity;
}

std::optional<FileContents> PlainFileStore::read(const fs::path& file) {
    auto identityBefore = identity(file);
    if (!identityBefore) {
        return std::nullopt;
    }
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        fail("cannot open", file);
    }
    FileContents contents;
    try {
        contents.bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    } catch (const std::ios_base::failure&) {
        fail("cannot read", file);  // the stream's buffer throws on a read error
    }
    contents.identity = identity(file).value_or(*identityBefore);
    return contents;
}

FileIdentity PlainFileStore::replace(const fs::path& file, std::string_view bytes) {
    std::error_code error;
    const fs::path folder = folderOf(file);
    fs::create_directories(folder, error);
    const fs::path temporary = folder / savingPrefix(file).append(uniqueSuffix());
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.close();
        if (!out) {
            fs::remove(temporary, error);
            fail("cannot write", temporary);
        }
    }
    fs::rename(temporary, file, error);
    if (error) {
        fs::remove(temporary, error);
        fail("cannot replace", file);
    }
    return identity(file).value_or(FileIdentity{});
}

fs::path makeTemporaryFolder(std::string_view prefix) {
    std::error_code error;
    const fs::path base = fs::temp_directory_path(error);
    // A name already taken is tried again with another; an error ends it.
    while (!error) {
        std::string name(prefix);
        name.append(uniqueSuffix());
        fs::path folder = base / name;
        if (fs::create_directory(folder, error)) {
            return folder;
        }
    }
    throw Failure("cannot create a temporary folder");
}

}  // namespace kazunavi
