#include "platform/win32/program_folder.h"

#include <windows.h>

#include <random>
#include <string>
#include <vector>

#include "platform/win32/handle.h"
#include "platform/win32/wide_text.h"

namespace kazunavi {

namespace {

constexpr wchar_t kFolderName[] = L"Kazunavi";

std::filesystem::path folderOfExecutable() {
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD length =
            ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) {
            return {};
        }
        if (length < buffer.size()) {
            return std::filesystem::path(std::wstring(buffer.data(), length)).parent_path();
        }
        buffer.resize(buffer.size() * 2);  // cut short: long paths
    }
}

std::filesystem::path environmentFolder(const wchar_t* name) {
    const DWORD size = ::GetEnvironmentVariableW(name, nullptr, 0);
    if (size == 0) {
        return {};
    }
    std::wstring value(size, L'\0');
    value.resize(::GetEnvironmentVariableW(name, value.data(), size));
    std::filesystem::path folder(value);
    return folder.is_absolute() ? folder : std::filesystem::path();
}

}  // namespace

Win32FolderSetting Win32FolderSetting::ofThisProcess() {
    return {folderOfExecutable(), environmentFolder(L"LOCALAPPDATA"), &kazunavi::canCreateFilesIn};
}

bool canCreateFilesIn(const std::filesystem::path& folder) {
    std::random_device random;
    const std::filesystem::path probe = folder / (L".kazunavi-probe-" + std::to_wstring(random()));
    // Gone with its handle, also when this program is killed meanwhile.
    const UniqueHandle file(::CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                          FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE,
                                          nullptr));
    return static_cast<bool>(file);
}

std::optional<std::filesystem::path> localDataFolder(const Win32FolderSetting& setting) {
    if (setting.localAppData.empty()) {
        return std::nullopt;
    }
    return setting.localAppData / kFolderName;
}

std::filesystem::path chooseProgramFolder(const Win32FolderSetting& setting) {
    return Win32ProgramFolder(setting).path();
}

}  // namespace kazunavi
