// Names for the entry points of the Ace ROM's routines, printed by the disassembler in
// place of jump and call targets when the ROM-labels option is on.
#pragma once

#include <cstdint>

// The label of the ROM routine that starts at `address`, or nullptr.
const char* RomLabelAt(uint32_t address);
