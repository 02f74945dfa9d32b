// Random bytes as a desktop file: its Exec line found and split for an
// address, and the command built from it. Nothing may crash, and the
// program word never takes the address.
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/failure.h"
#include "platform/linux/browser_command.h"
#include "platform/linux/desktop_entry.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::optional<std::string> exec = kazunavi::desktopEntryExec(text);
    const std::string probe = exec.value_or(text);
    (void)kazunavi::execWords(probe, "http://a/");
    // The same desktop file for two addresses runs the same program.
    std::string programs[2];
    for (int i = 0; i < 2; ++i) {
        try {
            programs[i] = kazunavi::browserCommandFor(
                              i == 0 ? "http://a/" : "http://b/", {"PATH=/bin"},
                              [](const std::string&) { return true; },
                              [&](const std::vector<std::string>&) {
                                  return std::optional<std::string>(probe);
                              })
                              .program;
        } catch (const kazunavi::Failure&) {
        }
    }
    if (programs[0] != programs[1]) {
        __builtin_trap();
    }
    return 0;
}
