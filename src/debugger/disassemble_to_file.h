// Disassemble to File: the listing of an address range as a text file, one upper-cased
// disassembly line per instruction.
//
//   DisassemblyRange range;
//   if (ParseDisassemblyRange("#0000", "#00FF", range) == DisassemblyFault::None)
//       WriteDisassembly("/tmp/rom.txt", range, {.showHex = true}, error);
//
// The range is checked before the file is touched: a refused range creates no file.
#pragma once

#include <cstdint>
#include <string>

struct DisassemblyRange {
    uint32_t start = 0;
    uint32_t end = 0; // inclusive; start - 1 gives an empty listing
};

enum class DisassemblyFault {
    None,
    BadNumber,   // a field that is empty, not a number, or too long
    OutOfMemory, // an address above the model's highest RAM address
    EndBeforeStart
};

// The fields as typed: "#" or "$" then hexadecimal, otherwise decimal; at most 6
// characters each. End may be one below Start (an empty listing), never lower.
DisassemblyFault ParseDisassemblyRange(const std::string& startText, const std::string& endText,
                                       DisassemblyRange& range);
// The range check alone, against the model's top of RAM.
DisassemblyFault CheckDisassemblyRange(uint32_t start, uint32_t end);
// A sentence for the fault, for message boxes and the command line.
const char* DisassemblyFaultText(DisassemblyFault fault);

// The dialog's boxes: "Show Hex" (numbers in hexadecimal, else decimal) and "System
// Variables" (16-bit operands that are a FORTH system variable's address print its name).
// "ROM Calls" changes nothing in the listing and has no field.
struct DisassemblyOptions {
    bool showHex = false;
    bool systemVariables = false;
};

// Writes the lines from range.start while the address is at most range.end (the last
// instruction may run past it). False, with `error`, when the file cannot be written.
bool WriteDisassembly(const std::string& path, const DisassemblyRange& range, const DisassemblyOptions& options,
                      std::string& error);

// The line written for the instruction at `address` (the disassembler's line, upper-cased),
// without the line break; `next` receives the address after it. Uses the current number
// base and label settings.
std::string DisassemblyFileLine(uint32_t address, uint32_t& next);
