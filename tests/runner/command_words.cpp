#include "runner/command_words.h"

#include "runner/scenario_failure.h"
#include "runner/value_text.h"

namespace kazunavi::scenario {

CommandWords::CommandWords(const CommandLine& command) : command_(command) {
    if (command.tokens.empty() || command.tokens.front().quoted) {
        throw ScenarioFailure(
            "expected a command word, found " +
            (command.tokens.empty() ? std::string("a block") : written(command.tokens.front())));
    }
    keyword_ = command.tokens.front().word;
}

void CommandWords::missing(std::string_view what) const {
    throw ScenarioFailure(keyword_ + ": expected " + std::string(what) +
                          ", found the end of the line");
}

const Token& CommandWords::token(std::string_view what) {
    if (atEnd()) {
        missing(what);
    }
    return command_.tokens[next_++];
}

std::string CommandWords::word(std::string_view what) {
    const Token& t = token(what);
    if (t.quoted) {
        throw ScenarioFailure(keyword_ + ": expected " + std::string(what) + ", found the string " +
                              written(t));
    }
    return t.word;
}

bool CommandWords::take(std::string_view bareWord) {
    if (atEnd() || command_.tokens[next_].quoted || command_.tokens[next_].word != bareWord) {
        return false;
    }
    ++next_;
    return true;
}

std::u16string CommandWords::string(std::string_view what) {
    const Token& t = token(what);
    if (!t.quoted) {
        throw ScenarioFailure(keyword_ + ": expected " + std::string(what) +
                              " in double quotes, found " + t.word);
    }
    return t.text;
}

long long CommandWords::integer(std::string_view what, long long min, long long max) {
    const Token& t = token(what);
    const auto value = t.quoted ? std::nullopt : parseInteger(t.word);
    if (!value) {
        throw ScenarioFailure(keyword_ + ": expected " + std::string(what) +
                              " as a number, found " + written(t));
    }
    if (*value < min || *value > max) {
        throw ScenarioFailure(keyword_ + ": expected " + std::string(what) + " from " +
                              std::to_string(min) + " to " + std::to_string(max) + ", found " +
                              t.word);
    }
    return *value;
}

void CommandWords::finish() {
    if (!atEnd()) {
        throw ScenarioFailure(keyword_ + ": expected the end of the line, found " +
                              written(command_.tokens[next_]));
    }
    if (command_.block && !blockTaken_) {
        throw ScenarioFailure(keyword_ + ": expected no block, found one opened by <<");
    }
}

const std::vector<std::string>& CommandWords::block() {
    if (!command_.block) {
        throw ScenarioFailure(keyword_ + ": expected a block opened by << at the end of the line");
    }
    blockTaken_ = true;
    return *command_.block;
}

std::string written(const Token& token) {
    return token.quoted ? quoteText(token.text) : token.word;
}

}  // namespace kazunavi::scenario
