#include "platform/linux/desktop_entry.h"

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <fstream>
#include <iterator>
#include <sstream>

#include "platform/linux/browser_command.h"
#include "platform/linux/file_descriptor.h"

namespace kazunavi {

namespace {

constexpr std::string_view kExecKey = "Exec=";

// The escapes of a string value: \s \n \t \r \\. Any other stays for the
// quoting of the command line (\" and \$ inside quotes).
std::string unescaped(std::string_view value) {
    std::string out;
    for (std::size_t i = 0; i < value.size(); ++i) {
        const std::size_t known = i + 1 < value.size() && value[i] == '\\'
                                      ? std::string_view("sntr\\").find(value[i + 1])
                                      : std::string_view::npos;
        if (known == std::string_view::npos) {
            out.push_back(value[i]);
        } else {
            out.push_back(" \n\t\r\\"[known]);
            ++i;
        }
    }
    return out;
}

// The word with its field codes: the address for %f %F %u %U, '%' for %%,
// nothing for the others.
std::string withFieldCodes(std::string_view word, std::string_view address, bool& addressUsed) {
    std::string out;
    for (std::size_t i = 0; i < word.size(); ++i) {
        if (word[i] != '%' || i + 1 == word.size()) {
            out.push_back(word[i]);
            continue;
        }
        const char code = word[++i];
        if (code == '%') {
            out.push_back('%');
        } else if (code == 'f' || code == 'F' || code == 'u' || code == 'U') {
            out.append(address);
            addressUsed = true;
        }
    }
    return out;
}

// What a child program writes to its standard output, waiting at most two
// seconds; nothing when it cannot be started or fails.
std::optional<std::string> outputOf(std::vector<std::string> argv,
                                    const std::vector<std::string>& environment) {
    int pipeEnds[2];
    if (::pipe2(pipeEnds, O_CLOEXEC) != 0) {
        return std::nullopt;
    }
    const FileDescriptor readEnd(pipeEnds[0]);
    FileDescriptor writeEnd(pipeEnds[1]);
    posix_spawn_file_actions_t actions;
    ::posix_spawn_file_actions_init(&actions);
    ::posix_spawn_file_actions_adddup2(&actions, writeEnd.get(), 1);
    ::posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    ::posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    std::vector<char*> args;
    for (std::string& a : argv) {
        args.push_back(a.data());
    }
    args.push_back(nullptr);
    std::vector<std::string> env = environment;
    std::vector<char*> envp;
    for (std::string& e : env) {
        envp.push_back(e.data());
    }
    envp.push_back(nullptr);
    const std::optional<std::string> program = findProgram(argv.front(), environment);
    pid_t child = 0;
    const int started = program ? ::posix_spawn(&child, program->c_str(), &actions, nullptr,
                                                args.data(), envp.data())
                                : ENOENT;
    ::posix_spawn_file_actions_destroy(&actions);
    writeEnd.reset();
    if (started != 0) {
        return std::nullopt;
    }
    std::string output;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    for (char buffer[4096];;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        pollfd readable{readEnd.get(), POLLIN, 0};
        if (left.count() <= 0 || ::poll(&readable, 1, static_cast<int>(left.count())) <= 0) {
            ::kill(child, SIGKILL);
            break;
        }
        const ssize_t got = ::read(readEnd.get(), buffer, sizeof buffer);
        if (got <= 0) {
            break;
        }
        output.append(buffer, static_cast<std::size_t>(got));
    }
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        return std::nullopt;
    }
    return output;
}

}  // namespace

std::optional<std::string> desktopEntryExec(std::string_view fileText) {
    std::istringstream lines{std::string(fileText)};
    bool inEntry = false;
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (line.starts_with('[')) {
            inEntry = line == "[Desktop Entry]";
        } else if (inEntry && line.starts_with(kExecKey)) {
            return line.substr(kExecKey.size());
        }
    }
    return std::nullopt;
}

std::optional<std::vector<std::string>> execWords(std::string_view exec, std::string_view address) {
    const std::string value = unescaped(exec);
    std::vector<std::string> words;
    std::string word;
    bool inWord = false;
    bool addressUsed = false;
    for (std::size_t i = 0; i < value.size(); ++i) {
        const char c = value[i];
        if (c == ' ' || c == '\t') {
            if (inWord) {
                words.push_back(withFieldCodes(word, address, addressUsed));
                word.clear();
                inWord = false;
            }
            continue;
        }
        inWord = true;
        if (c != '"') {
            word.push_back(c);
            continue;
        }
        // Inside quotes a backslash keeps the next " ` $ or \ as it is.
        for (++i; i < value.size() && value[i] != '"'; ++i) {
            if (value[i] == '\\' && i + 1 < value.size() &&
                std::string_view("\"`$\\").find(value[i + 1]) != std::string_view::npos) {
                ++i;
            }
            word.push_back(value[i]);
        }
        if (i >= value.size()) {
            return std::nullopt;
        }
    }
    if (inWord) {
        words.push_back(withFieldCodes(word, address, addressUsed));
    }
    if (!addressUsed) {
        words.emplace_back(address);
    }
    return words;
}

std::optional<std::filesystem::path> desktopFileOf(std::string_view id,
                                                   const std::vector<std::string>& environment) {
    if (id.empty() || id.find('/') != std::string_view::npos) {
        return std::nullopt;
    }
    std::vector<std::filesystem::path> folders;
    if (const auto home = environmentValue(environment, "XDG_DATA_HOME"); home && !home->empty()) {
        folders.emplace_back(*home);
    } else if (const auto user = environmentValue(environment, "HOME"); user && !user->empty()) {
        folders.push_back(std::filesystem::path(*user) / ".local/share");
    }
    const auto dirs = environmentValue(environment, "XDG_DATA_DIRS");
    std::string_view system = dirs && !dirs->empty() ? *dirs : "/usr/local/share:/usr/share";
    for (std::size_t start = 0; start <= system.size();) {
        const std::size_t end = std::min(system.find(':', start), system.size());
        if (end > start) {
            folders.emplace_back(system.substr(start, end - start));
        }
        start = end + 1;
    }
    for (const std::filesystem::path& folder : folders) {
        std::filesystem::path file = folder / "applications" / id;
        std::error_code ignored;
        if (std::filesystem::is_regular_file(file, ignored)) {
            return file;
        }
    }
    return std::nullopt;
}

std::optional<std::string> defaultBrowserExec(const std::vector<std::string>& environment) {
    const std::optional<std::string> answer =
        outputOf({"xdg-mime", "query", "default", "x-scheme-handler/http"}, environment);
    if (!answer) {
        return std::nullopt;
    }
    const std::string id = answer->substr(0, answer->find_first_of(";\n"));
    const std::optional<std::filesystem::path> file = desktopFileOf(id, environment);
    if (!file) {
        return std::nullopt;
    }
    std::ifstream in(*file, std::ios::binary);
    return desktopEntryExec(std::string(std::istreambuf_iterator<char>(in), {}));
}

}  // namespace kazunavi
