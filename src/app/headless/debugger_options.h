// What the debugger's options of noltace-headless take from the command line: --disassemble,
// --step, --dis-labels, --break, --watch and --break-port (rows of the option table).
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "option_arguments.h"
#include "options.h"

bool TakeDisassemble(OptionArguments& arguments, HeadlessOptions& options);
bool TakeStep(OptionArguments& arguments, HeadlessOptions& options);
bool TakeDisassemblyLabels(OptionArguments& arguments, HeadlessOptions& options);
bool TakeBreakpoint(OptionArguments& arguments, HeadlessOptions& options);
// --watch and --break-port.
bool TakeWatchpoint(OptionArguments& arguments, HeadlessOptions& options);

// An address or count: decimal, or hexadecimal after "#", "$" or "0x".
std::optional<uint32_t> ParseCommandLineNumber(const std::string& text);
