#pragma once

// Where the program keeps URL.ini on Windows: beside the program where files
// can be created there; else in %LOCALAPPDATA%\Kazunavi (a program installed
// under Program Files cannot write beside itself).

#include <filesystem>
#include <functional>
#include <optional>

#include "platform/common/chosen_program_folder.h"

namespace kazunavi {

// What the choice depends on, gathered so that tests can set it.
struct Win32FolderSetting {
    // Empty when the program's own file cannot be found.
    std::filesystem::path executableFolder;
    // %LOCALAPPDATA%; empty when it is unset or not absolute.
    std::filesystem::path localAppData;
    // Whether files can be created in a folder.
    std::function<bool(const std::filesystem::path&)> canCreateFilesIn;

    // The setting of this process: GetModuleFileNameW, the environment and
    // the real folder check.
    static Win32FolderSetting ofThisProcess();
};

// True when a file can really be created in the folder: its attributes do
// not say (a folder's read-only mark means nothing to the file system).
bool canCreateFilesIn(const std::filesystem::path& folder);

// %LOCALAPPDATA%\Kazunavi; it may not exist yet (the first save creates it).
std::optional<std::filesystem::path> localDataFolder(const Win32FolderSetting& setting);

// The folder the rule chooses with the local data folder as the user's.
std::filesystem::path chooseProgramFolder(const Win32FolderSetting& setting);

class Win32ProgramFolder : public ChosenProgramFolder {
  public:
    Win32ProgramFolder() : Win32ProgramFolder(Win32FolderSetting::ofThisProcess()) {}
    explicit Win32ProgramFolder(const Win32FolderSetting& setting)
        : ChosenProgramFolder(setting.executableFolder, localDataFolder(setting),
                              setting.canCreateFilesIn) {}
};

}  // namespace kazunavi
