#pragma once

// Where the program keeps URL.ini on Windows: beside the program where files
// can be created there; else in %LOCALAPPDATA%\Kazunavi (a program installed
// under Program Files cannot write beside itself).

#include <filesystem>
#include <functional>
#include <optional>

#include "platform/services.h"

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

// The program's folder when files can be created there; else the local data
// folder when URL.ini is there or not beside the program (a list a save
// moved there wins over the one left behind); else the program's folder,
// whose list can be read, not written.
std::filesystem::path chooseProgramFolder(const Win32FolderSetting& setting);

class Win32ProgramFolder : public ProgramFolder {
  public:
    Win32ProgramFolder() : Win32ProgramFolder(Win32FolderSetting::ofThisProcess()) {}
    explicit Win32ProgramFolder(Win32FolderSetting setting) : setting_(std::move(setting)) {}

    // Chosen once, at the first call, so that reading and writing the list
    // always use the same file.
    std::filesystem::path path() override;
    // The local data folder while the chosen folder cannot take files.
    std::optional<std::filesystem::path> userFolder() override;

  private:
    Win32FolderSetting setting_;
    std::optional<std::filesystem::path> chosen_;
};

}  // namespace kazunavi
