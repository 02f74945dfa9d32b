#include "platform/linux/browser_command.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <optional>
#include <utility>

#include "platform/failure.h"
#include "platform/linux/desktop_entry.h"

namespace kazunavi {

namespace {

constexpr std::string_view kAccessibilityVariable = "GNOME_ACCESSIBILITY";
constexpr std::string_view kRendererAccessibilityFlag = "--force-renderer-accessibility";
// What execvp searches when PATH is not set.
constexpr std::string_view kDefaultSearchPath = "/bin:/usr/bin";

// True when the NAME=value entry sets the variable.
bool sets(std::string_view entry, std::string_view name) {
    return entry.size() > name.size() && entry.starts_with(name) && entry[name.size()] == '=';
}

std::vector<std::string_view> split(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    while (true) {
        const std::size_t end = text.find(separator, start);
        parts.push_back(text.substr(start, end - start));
        if (end == std::string_view::npos) {
            return parts;
        }
        start = end + 1;
    }
}

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n';
}

// The words of one $BROWSER entry: split on blanks, '...' taken literally,
// "..." literally but for \" and \\, a backslash outside quotes escaping the
// next character. No other shell syntax: no variables, globs or operators.
// Nothing when a quote is left open.
std::optional<std::vector<std::string>> wordsOf(std::string_view entry) {
    std::vector<std::string> words;
    std::string word;
    bool inWord = false;
    for (std::size_t i = 0; i < entry.size(); ++i) {
        const char c = entry[i];
        if (isBlank(c)) {
            if (inWord) {
                words.push_back(std::exchange(word, {}));
                inWord = false;
            }
            continue;
        }
        inWord = true;
        if (c == '\'') {
            const std::size_t close = entry.find('\'', i + 1);
            if (close == std::string_view::npos) {
                return std::nullopt;
            }
            word.append(entry.substr(i + 1, close - i - 1));
            i = close;
        } else if (c == '"') {
            std::size_t j = i + 1;
            for (; j < entry.size() && entry[j] != '"'; ++j) {
                if (entry[j] == '\\' && j + 1 < entry.size() &&
                    (entry[j + 1] == '"' || entry[j + 1] == '\\')) {
                    ++j;
                }
                word.push_back(entry[j]);
            }
            if (j >= entry.size()) {
                return std::nullopt;
            }
            i = j;
        } else if (c == '\\' && i + 1 < entry.size()) {
            word.push_back(entry[++i]);
        } else {
            word.push_back(c);
        }
    }
    if (inWord) {
        words.push_back(std::move(word));
    }
    return words;
}

// The word with %s replaced by the address and %% by a single '%'; any other
// '%' stays as it is.
std::string substituted(std::string_view word, std::string_view address, bool& addressUsed) {
    std::string result;
    while (!word.empty()) {
        if (word.starts_with("%s")) {
            result.append(address);
            addressUsed = true;
            word.remove_prefix(2);
        } else if (word.starts_with("%%")) {
            result.push_back('%');
            word.remove_prefix(2);
        } else {
            result.push_back(word.front());
            word.remove_prefix(1);
        }
    }
    return result;
}

// The file that runs for a program word: a word with a '/' names the file
// itself, any other is looked up in the search path. Empty directories in the
// search path are skipped rather than read as the current directory.
std::optional<std::string> locate(const std::string& word, std::string_view searchPath,
                                  const ExecutableProbe& isExecutable) {
    if (word.empty()) {
        return std::nullopt;
    }
    if (word.find('/') != std::string::npos) {
        if (isExecutable(word)) {
            return word;
        }
        return std::nullopt;
    }
    for (std::string_view directory : split(searchPath, ':')) {
        if (directory.empty()) {
            continue;
        }
        std::string candidate(directory);
        if (candidate.back() != '/') {
            candidate.push_back('/');
        }
        candidate.append(word);
        if (isExecutable(candidate)) {
            return candidate;
        }
    }
    return std::nullopt;
}

// Chromium and its relatives build their accessibility tree only when asked.
bool isChromiumFamily(std::string_view programWord) {
    std::string name(programWord.substr(programWord.rfind('/') + 1));
    std::transform(name.begin(), name.end(), name.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    constexpr std::array<std::string_view, 6> kFamily = {"chromium", "chrome", "brave",
                                                         "vivaldi",  "opera",  "edge"};
    return std::any_of(kFamily.begin(), kFamily.end(), [&name](std::string_view member) {
        return name.find(member) != std::string::npos;
    });
}

// The command that one $BROWSER entry makes, or nothing when its program
// cannot be run. The program word itself never takes the address, so that
// the address cannot choose what is run.
std::optional<BrowserCommand> commandFromEntry(std::string_view entry, std::string_view address,
                                               std::string_view searchPath,
                                               const ExecutableProbe& isExecutable) {
    const std::optional<std::vector<std::string>> words = wordsOf(entry);
    if (!words || words->empty()) {
        return std::nullopt;
    }
    bool addressUsed = false;
    BrowserCommand command;
    command.argv.push_back(substituted(words->front(), address, addressUsed));
    if (addressUsed) {
        return std::nullopt;
    }
    std::optional<std::string> program = locate(command.argv.front(), searchPath, isExecutable);
    if (!program) {
        return std::nullopt;
    }
    command.program = std::move(*program);
    for (auto word = words->begin() + 1; word != words->end(); ++word) {
        command.argv.push_back(substituted(*word, address, addressUsed));
    }
    if (!addressUsed) {
        command.argv.emplace_back(address);
    }
    return command;
}

// The command of the default browser's Exec value, or nothing when it cannot
// be read or run. As with $BROWSER, the program word never takes the address.
std::optional<BrowserCommand> commandFromDefault(const std::optional<std::string>& exec,
                                                 std::string_view address,
                                                 std::string_view searchPath,
                                                 const ExecutableProbe& isExecutable) {
    if (!exec) {
        return std::nullopt;
    }
    const std::optional<std::vector<std::string>> bare = execWords(*exec, "");
    std::optional<std::vector<std::string>> argv = execWords(*exec, address);
    if (!bare || !argv || bare->front().empty() || bare->front() != argv->front()) {
        return std::nullopt;
    }
    std::optional<std::string> program = locate(argv->front(), searchPath, isExecutable);
    if (!program) {
        return std::nullopt;
    }
    return BrowserCommand{std::move(*program), std::move(*argv), {}};
}

std::vector<std::string> childEnvironment(const std::vector<std::string>& environment) {
    std::vector<std::string> envp;
    for (const std::string& entry : environment) {
        if (!sets(entry, kAccessibilityVariable)) {
            envp.push_back(entry);
        }
    }
    envp.push_back(std::string(kAccessibilityVariable) + "=1");
    return envp;
}

}  // namespace

std::optional<std::string_view> environmentValue(const std::vector<std::string>& environment,
                                                 std::string_view name) {
    for (const std::string& entry : environment) {
        if (sets(entry, name)) {
            return std::string_view(entry).substr(name.size() + 1);
        }
    }
    return std::nullopt;
}

std::optional<std::string> findProgram(const std::string& word,
                                       const std::vector<std::string>& environment,
                                       const ExecutableProbe& isExecutable) {
    return locate(word, environmentValue(environment, "PATH").value_or(kDefaultSearchPath),
                  isExecutable);
}

bool isExecutableFile(const std::string& path) {
    struct stat status {};
    return ::stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode) &&
           ::access(path.c_str(), X_OK) == 0;
}

BrowserCommand browserCommandFor(std::string_view address,
                                 const std::vector<std::string>& environment,
                                 const ExecutableProbe& isExecutable,
                                 const DefaultBrowserProbe& defaultBrowser) {
    if (address.empty()) {
        throw Failure("browser: no address to visit");
    }
    if (address.front() == '-') {
        throw Failure("browser: an address beginning with '-' would be read as an option");
    }
    if (address.find('\0') != std::string_view::npos) {
        throw Failure("browser: the address holds a NUL character");
    }
    const std::string_view searchPath =
        environmentValue(environment, "PATH").value_or(kDefaultSearchPath);

    std::optional<BrowserCommand> command;
    if (const std::optional<std::string_view> browsers = environmentValue(environment, "BROWSER")) {
        for (std::string_view entry : split(*browsers, ':')) {
            command = commandFromEntry(entry, address, searchPath, isExecutable);
            if (command) {
                break;
            }
        }
    }
    if (!command && defaultBrowser) {
        command =
            commandFromDefault(defaultBrowser(environment), address, searchPath, isExecutable);
    }
    if (!command) {
        std::optional<std::string> xdgOpen = locate("xdg-open", searchPath, isExecutable);
        if (!xdgOpen) {
            throw Failure("browser: no usable $BROWSER entry and no xdg-open on the search path");
        }
        command = BrowserCommand{std::move(*xdgOpen), {"xdg-open", std::string(address)}, {}};
    }

    if (isChromiumFamily(command->argv.front()) &&
        std::find(command->argv.begin(), command->argv.end(), kRendererAccessibilityFlag) ==
            command->argv.end()) {
        command->argv.insert(command->argv.begin() + 1, std::string(kRendererAccessibilityFlag));
    }
    command->envp = childEnvironment(environment);
    return std::move(*command);
}

}  // namespace kazunavi
