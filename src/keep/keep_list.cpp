#include "keep/keep_list.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <iterator>
#include <limits>
#include <string>

#include "platform/failure.h"
#include "shell/model/form1.h"
#include "shell/model/number_text.h"

namespace kazunavi {

namespace {

constexpr std::u16string_view kCountSection = u"KeepCount";
constexpr std::u16string_view kCountKey = u"Count";
constexpr std::u16string_view kEntrySection = u"KeepURL";
constexpr std::u16string_view kNameKey = u"Name";
constexpr std::u16string_view kAddressKey = u"URL";
// Every value is read into a buffer of this size: at most one byte less of
// the stored text comes back.
constexpr int kReadBufferSize = 1024;
// A default no stored value is: what comes back tells whether a key is there.
constexpr std::u16string_view kAbsent = u"\x01";

// The copies lie beside URL.ini; the messages name them, not the folder.
constexpr std::u16string_view kCopyTitle = u"Kazunavi\u3000Error_09";
constexpr std::u16string_view kCopyPrompt =
    u"読み込めなかったリストを、上書きする前に URL.ini と同じフォルダーに残しました。\r\n";
constexpr std::u16string_view kChangedTitle = u"Kazunavi\u3000Error_10";
constexpr std::u16string_view kChangedPrompt =
    u"URL.ini がほかのプログラムで変更されていたので、その内容を同じフォルダーに残しました。\r\n";
constexpr std::u16string_view kSaveFailedTitle = u"Kazunavi\u3000Error_11";
constexpr std::u16string_view kSaveFailedPrompt =
    u"リストを URL.ini に保存できませんでした。終了すると、この変更は失われます。\r\n"
    u"ファイルとフォルダーに書き込めるか、空き容量があるかを確認してください。";
constexpr std::u16string_view kMovedTitle = u"Kazunavi\u3000Error_12";
constexpr std::u16string_view kMovedPrompt =
    u"URL.ini のフォルダーに書き込めないので、リストを次のフォルダーに移しました。\r\n";

// Whole numbers only, without a detour through a double: a load of 32767
// entries builds 65534 key names.
std::u16string decimal(int value) {
    char digits[12];
    char* const end = std::to_chars(std::begin(digits), std::end(digits), value).ptr;
    return std::u16string(std::begin(digits), end);
}

std::u16string keyAt(std::u16string_view prefix, int position) {
    return std::u16string(prefix) + decimal(position);
}

// The stored count as a number of entries: a whole number by the program's
// number rule (blanks around, sign, decimal point, exponent) within 16 bits.
// A negative count loads nothing; anything else fails the load.
std::int16_t storedCount(std::u16string_view text) {
    const double value = number::toDouble(text);
    if (value != std::trunc(value)) {
        throw Failure("the keep count is not a whole number");
    }
    // Clamped only so that the conversion is defined; toInt16 rejects what
    // lies beyond 16 bits.
    return number::toInt16(static_cast<long long>(std::clamp(value, -1e6, 1e6)));
}

}  // namespace

void KeepList::wire(EventTable& events) {
    events.on("Command4", Event::Click, [this](int) { Command4_Click(); });
}

std::filesystem::path KeepList::keepFile() const {
    return movedTo_.value_or(s_.programFolder.path()) / kKeepListFileName;
}

std::u16string KeepList::readValue(const std::filesystem::path& file, std::u16string_view section,
                                   std::u16string_view key, std::u16string_view def) {
    return s_.profile.read(file, section, key, def, kReadBufferSize);
}

bool KeepList::writeValue(const std::filesystem::path& file, std::u16string_view section,
                          std::u16string_view key, std::u16string_view value) {
    try {
        s_.profile.write(file, section, key, value);
        return true;
    } catch (const Failure&) {
        return false;  // the lists change all the same; the save says so at its end
    }
}

void KeepList::tellCopy(std::u16string_view prompt, const std::filesystem::path& copy,
                        std::u16string_view title) {
    s_.messageBox.show(std::u16string(prompt) + u"「" + copy.filename().u16string() + u"」",
                       kExclamationOk, title);
}

bool KeepList::keepUnloadedList(const std::filesystem::path& file) {
    if (!unloadedEntriesStored_) {
        return true;
    }
    try {
        if (const auto copy = s_.profile.keepCopy(file)) {
            tellCopy(kCopyPrompt, *copy, kCopyTitle);
        }
        unloadedEntriesStored_ = false;
        return true;
    } catch (const Failure&) {
        return false;
    }
}

void KeepList::showCount() {
    f_.lblCNT.setText(decimal(f_.List1.listCount()));
}

void KeepList::LoadKeepList() {
    const std::filesystem::path file = keepFile();
    // Whatever stops the load, the stored entries it left out must not be
    // overwritten unseen: the first save keeps the file as it was.
    unloadedEntriesStored_ = true;
    try {
        const ProfileBatch snapshot(s_.profile, file);  // read only, never committed
        f_.lblCNT.setText(readValue(file, kCountSection, kCountKey, u"0"));
        const std::int16_t count = storedCount(f_.lblCNT.text());
        for (int i = 0; i < count; ++i) {
            // Both values are read before either list grows, so that the lists
            // stay parallel when a read fails.
            std::u16string name = readValue(file, kEntrySection, keyAt(kNameKey, i), u"");
            std::u16string address = readValue(file, kEntrySection, keyAt(kAddressKey, i), u"");
            f_.List1.addItem(std::move(name));
            f_.List2.addItem(std::move(address));
        }
        if (f_.List1.listCount() > 0) {
            f_.List1.setListIndex(0);
        }
        const int loaded = f_.List1.listCount();
        unloadedEntriesStored_ =
            readValue(file, kEntrySection, keyAt(kNameKey, loaded), kAbsent) != kAbsent ||
            readValue(file, kEntrySection, keyAt(kAddressKey, loaded), kAbsent) != kAbsent;
    } catch (const Failure&) {
        // The entries loaded so far stay; start-up carries on.
    }
}

void KeepList::SaveKeepList(bool clearFirst) {
    const std::filesystem::path file = keepFile();
    // Once a copy holds the entries that were not loaded, their keys go.
    const bool clearUnloaded = unloadedEntriesStored_;
    if ((!keepUnloadedList(file) || !writeList(file, clearFirst || clearUnloaded)) &&
        !moveList(file)) {
        // The file stays as it was; the lists keep the change for this run.
        s_.messageBox.show(kSaveFailedPrompt, kExclamationOk, kSaveFailedTitle);
    }
    for (const std::filesystem::path& copy : s_.profile.takeKeptCopies()) {
        tellCopy(kChangedPrompt, copy, kChangedTitle);
    }
}

bool KeepList::moveList(const std::filesystem::path& file) {
    const auto folder = s_.programFolder.userFolder();
    if (!folder) {
        return false;
    }
    // The file as it was goes first, so that nothing else in it is lost.
    const std::filesystem::path moved = *folder / kKeepListFileName;
    try {
        s_.profile.copyFile(file, moved);
    } catch (const Failure&) {
        return false;
    }
    if (!writeList(moved, true)) {
        return false;
    }
    movedTo_ = folder;
    s_.messageBox.show(std::u16string(kMovedPrompt) + folder->u16string(), kExclamationOk,
                       kMovedTitle);
    return true;
}

bool KeepList::writeList(const std::filesystem::path& file, bool clearFirst) {
    const int count = f_.List1.listCount();
    ProfileBatch batch(s_.profile, file);
    bool written = true;
    if (clearFirst) {
        for (std::u16string_view section : {kCountSection, kEntrySection}) {
            try {
                s_.profile.removeSection(file, section);
            } catch (const Failure&) {
                written = false;
            }
        }
    }
    written &= writeValue(file, kCountSection, kCountKey, decimal(count));
    for (int i = 0; i < count; ++i) {
        written &= writeValue(file, kEntrySection, keyAt(kNameKey, i), f_.List1.list(i));
        written &= writeValue(file, kEntrySection, keyAt(kAddressKey, i), f_.List2.list(i));
    }
    try {
        batch.commit();
    } catch (const Failure&) {
        written = false;
    }
    return written;
}

void KeepList::AddKeepEntry(std::u16string_view name, std::u16string_view address) {
    // The count is a 16-bit number: a list the next start could not load
    // again is not made.
    if (f_.List1.listCount() >= std::numeric_limits<std::int16_t>::max()) {
        s_.beeper.beep();
        return;
    }
    try {
        f_.List1.addItem(std::u16string(name));
        f_.List2.addItem(std::u16string(address));
        SaveKeepList(false);
        showCount();
        if (f_.List1.listCount() >= kSoftLimit) {
            f_.Command3.setEnabled(false);
        }
    } catch (const Failure&) {
    }
}

void KeepList::Command4_Click() {
    try {
        if (s_.messageBox.show(u"選択中のリストを削除します", kOkCancel,
                               u"「Kazunavi」確認メッセージ") != kAnswerOk) {
            return;
        }
        if (f_.List1.listCount() == 0) {
            return;
        }
        // Nothing selected: the first removal fails and nothing changes.
        const int selected = f_.List1.listIndex();
        f_.List1.removeItem(selected);
        f_.List2.removeItem(selected);
        showCount();
        if (f_.List1.listCount() < kSoftLimit) {
            f_.Command3.setEnabled(true);
        }
        SaveKeepList(true);
        showCount();
        if (f_.List1.listCount() >= kSoftLimit) {
            f_.Command3.setEnabled(false);
        }
    } catch (const Failure&) {
    }
}

}  // namespace kazunavi
