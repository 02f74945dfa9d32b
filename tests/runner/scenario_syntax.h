#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace kazunavi::scenario {

// One word of a command line: a bare word, or a string written in double
// quotes with its escapes resolved.
struct Token {
    bool quoted = false;
    std::string word;     // a bare word exactly as written
    std::u16string text;  // a quoted string, in UTF-16 code units
};

// One command: its line number (from 1), its words and, when the line ends
// in a blank-separated "<<", the lines of its block, taken literally.
struct CommandLine {
    int line = 0;
    std::vector<Token> tokens;
    std::optional<std::vector<std::string>> block;
};

struct Script {
    std::vector<CommandLine> commands;
    int lastLine = 1;  // where checks at the end of the scenario are reported
};

class SyntaxError : public std::runtime_error {
  public:
    SyntaxError(int line, const std::string& what) : std::runtime_error(what), line_(line) {}
    int line() const { return line_; }

  private:
    int line_;
};

// Splits a scenario file into commands; throws SyntaxError at the first line
// that cannot be read.
Script parseScript(std::string_view source);

// Decimal or 0x-hexadecimal, optionally negative; nullopt for anything else
// or beyond the 64-bit range.
std::optional<long long> parseInteger(std::string_view word);
// "true" or "false".
std::optional<bool> parseBoolean(std::string_view word);

}  // namespace kazunavi::scenario
