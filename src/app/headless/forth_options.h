// The FORTH-level options of noltace-headless: --decompile, --export-words, --forth-stack
// and --break-word.
#pragma once

#include "debugger_options.h"
#include "options.h"

// Looks at argv[i]; takes it (and its value, advancing i) when it is a FORTH option.
OptionMatch ParseForthOption(int argc, char** argv, int& i, HeadlessOptions& options, std::string& error);
