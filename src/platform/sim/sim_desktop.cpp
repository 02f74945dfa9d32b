#include "platform/sim/sim_desktop.h"

#include <string>

#include "platform/common/window_text.h"
#include "platform/failure.h"

namespace kazunavi {

int SimMessageBox::show(std::u16string_view prompt, int style, std::u16string_view title) {
    shown.push_back(ShownMessage{style, std::u16string(title), std::u16string(prompt)});
    if (answers.empty()) {
        return kAnswerOk;
    }
    const int answer = answers.front();
    answers.pop_front();
    return answer;
}

void SimClipboard::requireUnlocked() const {
    if (locked) {
        throw Failure("the clipboard is held by another program");
    }
}

bool SimClipboard::hasText() {
    requireUnlocked();
    return content.has_value();
}

SharedText SimClipboard::text() {
    requireUnlocked();
    return content.value_or(std::u16string());
}

void SimClipboard::clear() {
    requireUnlocked();
    content.reset();
}

void SimClipboard::setText(std::u16string_view text) {
    requireUnlocked();
    content = std::u16string(text);
}

void SimBrowser::navigate(std::u16string_view address) {
    if (!works) {
        throw Failure("the browser cannot be created");
    }
    navigations.emplace_back(address);
}

std::u16string SimWindowManager::windowText(WindowHandle window, int bufferSize) {
    auto it = titles.find(window);
    if (it == titles.end()) {
        return {};
    }
    return narrowWindowText(it->second, bufferSize);
}

void SimProfileFile::requireWritable(const std::filesystem::path& file) const {
    if (readOnly.contains(file) || readOnly.contains(file.parent_path())) {
        throw Failure("the file cannot be written");
    }
}

std::u16string SimProfileFile::read(const std::filesystem::path& file, std::u16string_view section,
                                    std::u16string_view key, std::u16string_view def, int size) {
    return real_.read(file, section, key, def, size);
}

void SimProfileFile::write(const std::filesystem::path& file, std::u16string_view section,
                           std::u16string_view key, std::u16string_view value) {
    requireWritable(file);
    real_.write(file, section, key, value);
}

void SimProfileFile::removeSection(const std::filesystem::path& file, std::u16string_view section) {
    requireWritable(file);
    real_.removeSection(file, section);
}

void SimProfileFile::beginBatch(const std::filesystem::path& file) {
    requireWritable(file);
    real_.beginBatch(file);
}

void SimProfileFile::commitBatch() {
    real_.commitBatch();
}

void SimProfileFile::copyFile(const std::filesystem::path& from, const std::filesystem::path& to) {
    requireWritable(to);
    real_.copyFile(from, to);
}

std::optional<std::filesystem::path> SimProfileFile::keepCopy(const std::filesystem::path& file) {
    // The copy goes beside the file: a folder that cannot be written takes none.
    requireWritable(file.parent_path());
    return real_.keepCopy(file);
}

SimDesktop::SimDesktop()
    : folder_(makeTemporaryFolder("kazunavi-sim-")),
      services_{.messageBox = messageBox,
                .clipboard = clipboard,
                .browser = browser,
                .windowManager = windowManager,
                .profile = profile,
                .ticks = clock,
                .beeper = beeper,
                .instanceCheck = instanceCheck,
                .programFolder = programFolder,
                .browserWindows = browserWindows,
                .programExit = programExit,
                .timerHost = clock} {}

SimDesktop::~SimDesktop() {
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
}

}  // namespace kazunavi
