// What the disassembly shows besides the instructions: ROM routine labels and FORTH
// system-variable names. Kept by the configuration file and the options dialog.
#pragma once

#include <cstdint>

extern uint32_t opt_dis_rom; // 0 or 1
extern uint32_t opt_dis_sv;  // 0 or 1
