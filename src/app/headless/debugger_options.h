// The debugger's command-line options of noltace-headless: --disassemble, --dis-labels,
// --break, --watch, --break-port, --registers and --step.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "options.h"

enum class OptionMatch { NotMine, Taken, Failed };

// Looks at argv[i]; takes it (and its values, advancing i) when it is a debugger option.
// On Failed, `error` says why.
OptionMatch ParseDebuggerOption(int argc, char** argv, int& i, HeadlessOptions& options, std::string& error);

// An address or count: decimal, or hexadecimal after "#", "$" or "0x".
std::optional<uint32_t> ParseCommandLineNumber(const std::string& text);
