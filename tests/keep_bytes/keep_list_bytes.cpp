// keep-list-bytes FOLDER: writes FOLDER/URL.ini anew through
// the keep list's own actions on this platform's real files. The Linux and
// the Windows build must write the same bytes (tools/test.sh compares them).
// Fails when the list read back is not the list written.

#include <filesystem>
#include <iostream>
#include <string>

#include "keep/keep_list.h"
#include "keep_bytes/disk_files.h"
#include "platform/common/ini_profile.h"
#include "platform/sim/sim_desktop.h"
#include "shell/model/form1.h"

int main(int argc, char** argv) {
    using namespace kazunavi;
    if (argc != 2) {
        std::cerr << "usage: keep-list-bytes FOLDER\n";
        return 2;
    }
    const std::filesystem::path folder(argv[1]);
    std::filesystem::create_directories(folder);
    SimDesktop sim;
    const auto files = test::diskFileStore();
    IniProfileFile profile(*files);
    SimProgramFolder programFolder(folder);
    Services services = sim.services().with({.profile = &profile, .programFolder = &programFolder});

    // A list another program wrote: bytes of no character, a second code of
    // a character (ED 40), a name in UTF-16 no list holds.
    files->replace(folder / "URL.ini",
                   "[KeepCount]\r\nCount=2\r\n[KeepURL]\r\nName0=\x80\xFD\xED\x40\x81\x60\r\n"
                   "URL0=http://example.org/0\r\nName1=gone\r\nURL1=http://example.org/1\r\n");
    Form1 form;
    KeepList keep(form, services);
    keep.LoadKeepList();
    // The characters where code page 932 tables differ, and one none holds.
    keep.AddKeepEntry(u"Café — ―〜～‖∥−－‾¥¢£¬ 日本語 \U0001F600", u"http://例.jp/p001.jpg");
    keep.AddKeepEntry(u"ｶﾀｶﾅ ①Ⅻ㈱ 髙﨑", u"https://example.org/?q=%E3%81%82");
    form.List1.setListIndex(1);
    keep.Command4_Click();

    // The names come back as code page 932 holds them; the addresses whole.
    Form1 again;
    KeepList(again, services).LoadKeepList();
    bool same = again.List1.listCount() == 3 && form.List1.listCount() == 3;
    for (int i = 0; same && i < 3; ++i) {
        same = again.List2.list(i) == form.List2.list(i);
    }
    if (!same) {
        std::cerr << "keep-list-bytes: the list read back differs from the list written\n";
        return 1;
    }
    return 0;
}
