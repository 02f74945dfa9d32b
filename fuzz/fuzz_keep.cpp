// Random bytes as URL.ini: the start-up load, then a KEEP and a DEL with
// random choices, each followed by a fresh start on the same folder. The two
// lists must stay parallel, a save must give back the entry count and the
// kept address at the next start, a file that did not load whole must be kept
// as it was, and nothing may crash, hang or trip a sanitizer.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>

#include "platform/common/cp932.h"
#include "platform/common/plain_file_store.h"
#include "platform/common/utf8.h"
#include "platform/sim/sim_desktop.h"
#include "shell/application.h"
#include "shell/model/form1.h"

namespace kazunavi {
namespace {

constexpr WindowHandle kBrowser = 0x10;
constexpr int kLargestCount = 32767;
// Longer lists are loaded but not saved here: a save costs time quadratic in
// the list's length in the INI layer (see bench_keep), and KEEP at the
// largest count is a unit test.
constexpr int kLongestSavedList = 2000;
constexpr const char16_t* kKeptAddress = u"http://example.org/kept";

void check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

void checkParallel(Form1& f) {
    check(f.List1.listCount() == f.List2.listCount());
    check(f.List1.listIndex() >= -1 && f.List1.listIndex() < f.List1.listCount());
}

// The next start on the same folder loads count entries.
void checkReload(SimDesktop& desktop, int count, bool lastIsKept) {
    Application next(desktop.services());
    next.start();
    Form1& f = next.form1();
    checkParallel(f);
    check(f.List1.listCount() == count);
    if (lastIsKept) {
        check(f.List2.list(count - 1) == kKeptAddress);
    }
}

void run(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    const std::u16string name = fromCp932(in.ConsumeRandomLengthString(80));
    const int selected = in.ConsumeIntegralInRange<int>(-1, 80);
    const bool deleteConfirmed = in.ConsumeBool();
    const bool readOnly = in.ConsumeBool() && in.ConsumeBool();
    const std::string file = in.ConsumeRemainingBytesAsString();

    SimDesktop desktop;
    const auto path = desktop.folder() / "URL.ini";
    std::ofstream(path, std::ios::binary) << file;
    if (readOnly) {
        desktop.profile.readOnly.insert(path);
    }
    desktop.browserWindows.windows = {BrowserWindow{kBrowser, kKeptAddress, std::nullopt}};
    desktop.windowManager.titles[kBrowser] = u"Kept page - Microsoft Internet Explorer";
    desktop.windowManager.foreground = kBrowser;

    Application app(desktop.services());
    app.start();
    Form1& f = app.form1();
    checkParallel(f);
    const int loaded = f.List1.listCount();
    check(loaded <= kLargestCount);
    if (loaded > kLongestSavedList) {
        return;
    }

    // KEEP.
    app.run("timGETURL", Event::Timer);
    f.Text1.setText(name);
    app.run("Command3", Event::Click);
    checkParallel(f);
    const bool kept = loaded < kLargestCount;
    check(f.List1.listCount() == (kept ? loaded + 1 : loaded));
    if (kept) {
        check(f.List2.list(loaded) == kKeptAddress);
        check(f.lblCNT.text() == fromUtf8(std::to_string(loaded + 1)));
    }
    if (!readOnly && kept) {
        checkReload(desktop, loaded + 1, true);
    }
    // What the save did not keep in URL.ini it kept in a copy, byte for byte.
    if (const auto copy = PlainFileStore().read(desktop.folder() / "URL.ini.bak-1")) {
        check(copy->bytes == file);
    }

    // DEL.
    const int before = f.List1.listCount();
    const int choice = selected < before ? selected : -1;
    f.List1.setListIndex(choice);
    desktop.messageBox.answers.push_back(deleteConfirmed ? kAnswerOk : kAnswerCancel);
    app.run("Command4", Event::Click);
    checkParallel(f);
    const bool deleted = deleteConfirmed && choice >= 0;
    check(f.List1.listCount() == (deleted ? before - 1 : before));
    if (!readOnly && deleted) {
        checkReload(desktop, before - 1, false);
    }
}

}  // namespace
}  // namespace kazunavi

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    kazunavi::run(data, size);
    return 0;
}
