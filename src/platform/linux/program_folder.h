#pragma once

// Where the program keeps URL.ini on Linux: beside the program, as on
// Windows, where that is possible; else in the user's configuration folder.

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "platform/common/chosen_program_folder.h"

namespace kazunavi {

// What the choice depends on, gathered so that tests can set it.
struct ProgramFolderSetting {
    // Empty when the program's own file cannot be found.
    std::filesystem::path executableFolder;
    std::optional<std::string> xdgConfigHome;
    // $HOME, or the home folder of the user's account when that is unset.
    std::optional<std::string> home;
    // Whether files can be created in a folder.
    std::function<bool(const std::filesystem::path&)> canCreateFilesIn;

    // The setting of this process: /proc/self/exe, the environment and the
    // real folder check.
    static ProgramFolderSetting ofThisProcess();
};

// True when a file can really be created in the folder: access() alone says
// yes to root on any folder that is not on a read-only mount.
bool canCreateFilesIn(const std::filesystem::path& folder);

// $XDG_CONFIG_HOME/kazunavi, or ~/.config/kazunavi when that variable is
// unset, empty or not absolute; it may not exist yet (the first save creates
// it).
std::optional<std::filesystem::path> configurationFolder(const ProgramFolderSetting& setting);

// The folder the rule chooses with the configuration folder as the user's.
std::filesystem::path chooseProgramFolder(const ProgramFolderSetting& setting);

class LinuxProgramFolder : public ChosenProgramFolder {
  public:
    LinuxProgramFolder() : LinuxProgramFolder(ProgramFolderSetting::ofThisProcess()) {}
    explicit LinuxProgramFolder(const ProgramFolderSetting& setting)
        : ChosenProgramFolder(setting.executableFolder, configurationFolder(setting),
                              setting.canCreateFilesIn) {}
};

}  // namespace kazunavi
