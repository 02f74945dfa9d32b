#include "platform/qt/qt_global_keys.h"

#include <QGuiApplication>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/common/ini_document.h"

namespace kazunavi {

namespace {

struct StepKey {
    QtGlobalKeys::Step step;
    const char* name;
    const char* standard;
};
constexpr StepKey kStepKeys[] = {{QtGlobalKeys::kNext, "Next", "Ctrl+Alt+Page_Down"},
                                 {QtGlobalKeys::kPrevious, "Previous", "Ctrl+Alt+Page_Up"}};

}  // namespace

QtGlobalKeys::QtGlobalKeys(const std::filesystem::path& settingsFile,
                           std::function<void(Step)> pressed) {
    if (QGuiApplication::platformName() != QStringLiteral("xcb") ||
        !(x11_ = X11Connection::open())) {
        return;
    }
    keys_ = std::make_unique<GlobalKeys>(*x11_);
    std::ifstream in(settingsFile, std::ios::binary);
    const IniDocument settings =
        IniDocument::parse(std::string(std::istreambuf_iterator<char>(in), {}), IniCharset::kUtf8);
    for (const StepKey& key : kStepKeys) {
        const std::string chosen(settings.value("GlobalKeys", key.name).value_or(key.standard));
        if (chosen == "off") {
            continue;
        }
        const std::optional<KeyChord> chord = parseKeyChord(chosen);
        const char* problem = !chord                           ? "is no key this program knows"
                              : !keys_->grab(key.step, *chord) ? "is taken by another program"
                                                               : nullptr;
        if (problem != nullptr) {
            std::fprintf(stderr, "kazunavi: the %s key %s %s; set another in %s\n", key.name,
                         chosen.c_str(), problem, settingsFile.c_str());
        }
    }
    notifier_ = std::make_unique<QSocketNotifier>(keys_->fileDescriptor(), QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this, pressed] {
        for (int step : keys_->pressed()) {
            pressed(static_cast<Step>(step));
        }
    });
}

QtGlobalKeys::~QtGlobalKeys() = default;

}  // namespace kazunavi
