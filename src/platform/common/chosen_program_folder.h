#pragma once

// Where the program keeps URL.ini, by the same rule on every platform:
// beside the program where files can be created there; else the user's own
// folder when URL.ini is there or not beside the program (a list that a save
// moved there wins over the one left behind); else the program's folder,
// whose list can be read, not written.

#include <filesystem>
#include <functional>
#include <optional>

#include "platform/services.h"

namespace kazunavi {

class ChosenProgramFolder : public ProgramFolder {
  public:
    // Whether files can be created in a folder.
    using CreateProbe = std::function<bool(const std::filesystem::path&)>;

    // beside is empty when the program's own file cannot be found; user is
    // nothing when the platform names no folder of the user's.
    ChosenProgramFolder(std::filesystem::path beside, std::optional<std::filesystem::path> user,
                        CreateProbe canCreateFilesIn);

    // Chosen once, at the first call, so that reading and writing the list
    // always use the same file.
    std::filesystem::path path() override;
    // The user's folder while the chosen folder cannot take files.
    std::optional<std::filesystem::path> userFolder() override;

  private:
    std::filesystem::path beside_;
    std::optional<std::filesystem::path> user_;
    CreateProbe canCreateFilesIn_;
    std::optional<std::filesystem::path> chosen_;
};

}  // namespace kazunavi
