#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "runner/scenario_syntax.h"

namespace kazunavi::scenario {

// Reads the words of one command from left to right; every misuse is a
// ScenarioFailure that names the command and the word it expected.
class CommandWords {
  public:
    explicit CommandWords(const CommandLine& command);

    const std::string& keyword() const { return keyword_; }
    bool atEnd() const { return next_ >= command_.tokens.size(); }

    // The next word must be bare (not quoted).
    std::string word(std::string_view what);
    // The next word, when it is this bare word: consumed and true.
    bool take(std::string_view bareWord);
    const Token& token(std::string_view what);
    std::u16string string(std::string_view what);
    long long integer(std::string_view what, long long min, long long max);

    // No word may follow; no block unless the command takes one.
    void finish();
    // The block of the command; fails when it has none.
    const std::vector<std::string>& block();

  private:
    [[noreturn]] void missing(std::string_view what) const;

    const CommandLine& command_;
    std::string keyword_;
    std::size_t next_ = 1;
    bool blockTaken_ = false;
};

// A word as written, for messages: quoted strings with their escapes.
std::string written(const Token& token);

}  // namespace kazunavi::scenario
