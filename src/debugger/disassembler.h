// The Z80 disassembler: one instruction as text.
#pragma once

#include <cstdint>
#include <string>

// The instruction at `address` as text (e.g. "LD HL,3C00"); `length` receives its size.
std::string DisassembleInstruction(uint16_t address, int* length = nullptr);
