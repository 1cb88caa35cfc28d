#include "debugger/disassembler.h"

std::string DisassembleInstruction(uint16_t, int* length) {
    if (length) *length = 1;
    return {};
}
