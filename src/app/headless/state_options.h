// The machine-state options of noltace-headless: --rewind, --step-back, --save-state and
// --load-state, as rows of the option table.
#pragma once

#include <vector>

#include "options.h"

std::vector<OptionRow> StateOptionRows();
