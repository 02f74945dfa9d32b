#pragma once

#include <filesystem>
#include <optional>
#include <string_view>

#include "platform/services.h"
#include "shell/model/events.h"

namespace kazunavi {

class Form1;

// The keep list: names in List1 and addresses in List2, position for
// position, with the entry count in lblCNT. It is read from URL.ini in the
// program's folder at start-up and written back whole after every change.
class KeepList {
  public:
    // KEEP stays enabled below this many entries.
    static constexpr int kSoftLimit = 50;

    KeepList(Form1& form, Services& services) : f_(form), s_(services) {}
    void wire(EventTable& events);

    // Fills the lists from the file; never passes a failure on.
    void LoadKeepList();
    // Appends one entry and saves the list; beeps when the list is full.
    void AddKeepEntry(std::u16string_view name, std::u16string_view address);
    // Writes the count and every entry; with clearFirst the two sections are
    // removed first, so that no key of a former, longer list remains. Says
    // so when the file could not be written, and where it kept the versions
    // it did not overwrite unseen.
    void SaveKeepList(bool clearFirst);
    // DEL: removes the selected entry after asking.
    void Command4_Click();

  private:
    std::filesystem::path keepFile() const;
    std::u16string readValue(const std::filesystem::path& file, std::u16string_view section,
                             std::u16string_view key, std::u16string_view def);
    // False when the value could not be written.
    bool writeValue(const std::filesystem::path& file, std::u16string_view section,
                    std::u16string_view key, std::u16string_view value);
    // False when any part of the list could not be written.
    bool writeList(const std::filesystem::path& file, bool clearFirst);
    // Before the first save after a load that left stored entries out: keeps
    // a copy of the file and says where. False when no copy could be made.
    bool keepUnloadedList(const std::filesystem::path& file);
    // After a failed save: the list goes to the user's folder, where the next
    // start finds it, when the program's folder cannot take files. False when
    // it could not go.
    bool moveList(const std::filesystem::path& file);
    void tellCopy(std::u16string_view prompt, const std::filesystem::path& copy,
                  std::u16string_view title);
    void showCount();

    Form1& f_;
    Services& s_;
    bool unloadedEntriesStored_ = false;
    std::optional<std::filesystem::path> movedTo_;
};

}  // namespace kazunavi
