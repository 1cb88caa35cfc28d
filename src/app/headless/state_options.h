// The machine-state options of noltace-headless: --rewind, --step-back, --save-state and
// --load-state.
#pragma once

#include "debugger_options.h"
#include "options.h"

// Looks at argv[i]; takes it (and its value, advancing i) when it is a state option.
OptionMatch ParseStateOption(int argc, char** argv, int& i, HeadlessOptions& options, std::string& error);
