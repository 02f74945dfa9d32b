#pragma once

// Which browser to start for an address, and with what arguments: the
// desktop's $BROWSER list when one of its entries can be run, else the
// desktop's default web browser started directly (so that it gets what it
// needs to be seen by KEEP), else xdg-open. Decides only; starting the
// program is the launcher's.

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kazunavi {

// True when the file at the path exists and may be executed.
using ExecutableProbe = std::function<bool(const std::string& path)>;
// The Exec value of the default web browser's desktop entry, if any.
using DefaultBrowserProbe =
    std::function<std::optional<std::string>(const std::vector<std::string>& environment)>;

// The value of a variable's first entry in NAME=value entries, as getenv sees it.
std::optional<std::string_view> environmentValue(const std::vector<std::string>& environment,
                                                 std::string_view name);

// A regular file that the calling user may execute.
bool isExecutableFile(const std::string& path);

// The file that runs for a program word in the environment's PATH (else
// /bin:/usr/bin), as execvp finds it; nothing when none can run.
std::optional<std::string> findProgram(const std::string& word,
                                       const std::vector<std::string>& environment,
                                       const ExecutableProbe& isExecutable = isExecutableFile);

struct BrowserCommand {
    std::string program;            // the file to execute, as found
    std::vector<std::string> argv;  // argv[0] is the program word as written
    std::vector<std::string> envp;  // the child's environment, NAME=value each
};

// The browser command for a UTF-8 address, given the program's environment
// (NAME=value each, as in environ). Throws Failure when the address is empty,
// begins with '-' (it would be taken for an option) or holds a NUL, and when
// no browser program is found.
BrowserCommand browserCommandFor(std::string_view address,
                                 const std::vector<std::string>& environment,
                                 const ExecutableProbe& isExecutable = isExecutableFile,
                                 const DefaultBrowserProbe& defaultBrowser = {});

}  // namespace kazunavi
