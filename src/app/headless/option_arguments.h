// The values that follow one option on the command line, taken one at a time. Every
// refusal leaves one line in `error` that begins with the option's name; the caller
// returns false and the program exits with status 2.
#pragma once

#include <string>

class OptionArguments {
  public:
    // argv[i] is the option; values are taken from argv[i + 1] on, advancing i.
    OptionArguments(int argc, char** argv, int& i, std::string& error)
        : argc_(argc), argv_(argv), i_(i), error_(error), option_(argv[i]) {}

    const std::string& option() const { return option_; }
    // The next value, or null with "OPTION needs WHAT".
    const char* Next(const char* what);
    // The next value, or null; an empty one is refused as "OPTION needs a non-empty ..."
    // (`what` begins with "a ").
    const char* NextNonEmpty(const char* what);
    // The next value, or null with "OPTION needs WHAT" when it is missing or empty (an
    // empty value is then not taken).
    const char* NextPresent(const char* what);
    // A decimal number from low to high: "OPTION needs WHAT, not 'VALUE'".
    bool Number(const char* what, long low, long high, long& value);
    // error = "OPTION " + text; false.
    bool Fail(const std::string& text);
    // error = line; false.
    bool FailLine(const std::string& line);

  private:
    int argc_;
    char** argv_;
    int& i_;
    std::string& error_;
    std::string option_;
};
