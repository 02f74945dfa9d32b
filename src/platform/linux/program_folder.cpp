#include "platform/linux/program_folder.h"

#include <pwd.h>
#include <stdlib.h>
#include <unistd.h>

#include <system_error>

namespace kazunavi {

namespace {

constexpr const char* kFolderName = "kazunavi";

std::optional<std::string> environmentVariable(const char* name) {
    if (const char* value = std::getenv(name)) {
        return std::string(value);
    }
    return std::nullopt;
}

}  // namespace

ProgramFolderSetting ProgramFolderSetting::ofThisProcess() {
    ProgramFolderSetting setting;
    std::error_code error;
    const auto executable = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error) {
        setting.executableFolder = executable.parent_path();
    }
    setting.xdgConfigHome = environmentVariable("XDG_CONFIG_HOME");
    setting.home = environmentVariable("HOME");
    if (!setting.home || setting.home->empty()) {
        if (const passwd* user = ::getpwuid(::getuid()); user && user->pw_dir) {
            setting.home = user->pw_dir;
        }
    }
    setting.canCreateFilesIn = &kazunavi::canCreateFilesIn;
    return setting;
}

bool canCreateFilesIn(const std::filesystem::path& folder) {
    if (::access(folder.c_str(), W_OK | X_OK) != 0) {
        return false;
    }
    std::string probe = (folder / ".kazunavi-probe-XXXXXX").string();
    const int fd = ::mkstemp(probe.data());
    if (fd < 0) {
        return false;
    }
    ::close(fd);
    ::unlink(probe.c_str());
    return true;
}

std::optional<std::filesystem::path> configurationFolder(const ProgramFolderSetting& setting) {
    if (setting.xdgConfigHome && std::filesystem::path(*setting.xdgConfigHome).is_absolute()) {
        return std::filesystem::path(*setting.xdgConfigHome) / kFolderName;
    }
    if (setting.home && !setting.home->empty()) {
        return std::filesystem::path(*setting.home) / ".config" / kFolderName;
    }
    return std::nullopt;
}

std::filesystem::path chooseProgramFolder(const ProgramFolderSetting& setting) {
    return LinuxProgramFolder(setting).path();
}

}  // namespace kazunavi
