#include "runner/program_files.h"

#include <fstream>
#include <iterator>

#include "platform/common/utf8.h"
#include "runner/scenario_failure.h"
#include "runner/value_text.h"

namespace kazunavi::scenario {

std::filesystem::path programFile(const std::filesystem::path& folder, std::u16string_view name) {
    const bool plain = !name.empty() && name != u"." && name != u".." &&
                       name.find_first_of(u"/\\") == std::u16string_view::npos &&
                       name.find(u'\0') == std::u16string_view::npos;
    if (!plain) {
        throw ScenarioFailure("expected a plain file name in the program folder, found " +
                              quoteText(name));
    }
    // From UTF-8 as such: a path from narrow text is read in Windows' ANSI code page.
    const std::string utf8 = toUtf8(name);
    return folder / std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::u16string withLineEnds(const std::vector<std::string>& lines) {
    std::u16string content;
    for (const std::string& line : lines) {
        content += fromUtf8(line);
        content += u"\r\n";
    }
    return content;
}

std::vector<std::string> keepListLines(int count) {
    std::vector<std::string> lines = {"[KeepCount]", "Count=" + std::to_string(count)};
    if (count > 0) {
        lines.emplace_back("[KeepURL]");
    }
    for (int i = 0; i < count; ++i) {
        const std::string n = std::to_string(i);
        lines.push_back("Name" + n + "=entry " + n);
        lines.push_back("URL" + n + "=http://example.org/" + n);
    }
    return lines;
}

void writeFileBytes(const std::filesystem::path& file, std::string_view bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        throw ScenarioFailure("cannot write " + file.string());
    }
}

std::optional<std::string> readFileBytes(const std::filesystem::path& file) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error)) {
        return std::nullopt;
    }
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        throw ScenarioFailure("cannot read " + file.string());
    }
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace kazunavi::scenario
