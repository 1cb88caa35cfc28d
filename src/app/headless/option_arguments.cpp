#include "option_arguments.h"

#include <charconv>

const char* OptionArguments::Next(const char* what) {
    if (i_ + 1 < argc_) return argv_[++i_];
    Fail(std::string("needs ") + what);
    return nullptr;
}

const char* OptionArguments::NextNonEmpty(const char* what) {
    const char* value = Next(what);
    if (value && *value == '\0') {
        const std::string thing = what;
        Fail("needs a non-empty " + thing.substr(thing.starts_with("a ") ? 2 : 0));
        return nullptr;
    }
    return value;
}

const char* OptionArguments::NextPresent(const char* what) {
    if (i_ + 1 < argc_ && *argv_[i_ + 1] != '\0') return argv_[++i_];
    Fail(std::string("needs ") + what);
    return nullptr;
}

bool OptionArguments::Number(const char* what, long low, long high, long& value) {
    const char* text = Next(what);
    if (!text) return false;
    const std::string_view digits = text;
    long number = 0;
    const auto [end, problem] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
    if (problem == std::errc() && end == digits.data() + digits.size() && !digits.empty() && number >= low &&
        number <= high) {
        value = number;
        return true;
    }
    return Fail(std::string("needs ") + what + ", not '" + text + "'");
}

bool OptionArguments::Fail(const std::string& text) {
    error_ = option_ + " " + text;
    return false;
}

bool OptionArguments::FailLine(const std::string& line) {
    error_ = line;
    return false;
}
