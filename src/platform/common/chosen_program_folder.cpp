#include "platform/common/chosen_program_folder.h"

#include <system_error>
#include <utility>

namespace kazunavi {

namespace {

bool holdsList(const std::filesystem::path& folder) {
    std::error_code error;
    return !folder.empty() && std::filesystem::exists(folder / kKeepListFileName, error);
}

}  // namespace

ChosenProgramFolder::ChosenProgramFolder(std::filesystem::path beside,
                                         std::optional<std::filesystem::path> user,
                                         CreateProbe canCreateFilesIn)
    : beside_(std::move(beside)),
      user_(std::move(user)),
      canCreateFilesIn_(std::move(canCreateFilesIn)) {}

std::filesystem::path ChosenProgramFolder::path() {
    if (!chosen_) {
        if (!beside_.empty() && canCreateFilesIn_ && canCreateFilesIn_(beside_)) {
            chosen_ = beside_;
        } else if (user_ && (holdsList(*user_) || !holdsList(beside_))) {
            chosen_ = user_;
        } else {
            chosen_ = beside_;  // nowhere better: saving will fail and say so
        }
    }
    return *chosen_;
}

std::optional<std::filesystem::path> ChosenProgramFolder::userFolder() {
    if (!user_ || *user_ == path() || (canCreateFilesIn_ && canCreateFilesIn_(path()))) {
        return std::nullopt;
    }
    return user_;
}

}  // namespace kazunavi
