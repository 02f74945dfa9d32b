#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kazunavi::scenario {

// The file NAME in the program folder. NAME is a plain file name: a name that
// reaches outside the folder fails the scenario.
std::filesystem::path programFile(const std::filesystem::path& folder, std::u16string_view name);

// Block lines (UTF-8) as the program's files hold text: code page 932, each
// line ended by CR LF.
std::u16string withLineEnds(const std::vector<std::string>& lines);

// The keep list file as the program writes it with COUNT entries: entry i is
// named "entry i" and holds the address "http://example.org/i".
std::vector<std::string> keepListLines(int count);

void writeFileBytes(const std::filesystem::path& file, std::string_view bytes);
// nullopt when there is no such file.
std::optional<std::string> readFileBytes(const std::filesystem::path& file);

}  // namespace kazunavi::scenario
