// The Z80 disassembler: one instruction of emulated memory as one fixed-layout line,
// for the debugger's code pane, Step Over, Disassemble to File and the PC log.
//
// A line reads: four address digits, two spaces, the instruction's bytes (up to four,
// padded to eight characters), one space, the mnemonic padded to six characters and its
// operands, e.g. "4000  DDCB0546 BIT   0,(IX+#05)". Numbers print as "#" and upper-case
// hexadecimal, or as plain decimal when numberBase is 10.
//
// Memory is read through the page table, as the processor fetches opcodes; bytes above
// machine.ramTop read as 0. Every instruction is as long as the processor takes it to
// be: a DD or FD prefix in front of an opcode that it does not modify is a one-byte line
// of its own ("DEFB  DD ?"), because the processor executes it as one step.
//
// Single-threaded: the decoder keeps module-wide state (disAddr, lineText).
#pragma once

#include <cstdint>
#include <string>

struct DisassemblerState {
    int numberBase = 16;  // 16 or 10: the base of the numbers in the text
    uint32_t disAddr = 0; // after disassembleLine: the address of the next instruction
    std::string lineText; // the line made by the last disassembleLine
    // Disassemble to File's "System Variables" box: names print while it is ticked,
    // whatever opt_dis_sv says.
    bool exportSystemVariables = false;

    void Reset() { *this = DisassemblerState{}; }
};
extern DisassemblerState disassembler;

// Settings: 1 = 16-bit operands that name a FORTH system variable print its name
// (opt_dis_sv); 1 = jump and call targets at known ROM routines print the routine's
// label (opt_dis_rom). Labels print in hexadecimal base only.
extern uint8_t opt_dis_sv;
extern uint8_t opt_dis_rom;

// Decodes the instruction at `address` into lineText, leaves the next instruction's
// address in disAddr and returns `address`. Above machine.ramTop it makes lineText
// empty (the end of the listing, for callers to stop at) and returns ramTop + 1.
uint32_t disassembleLine(uint32_t address);
// The length in bytes of the instruction at `address` (1 to 4); lineText and disAddr
// are left as they were. Above machine.ramTop: 1.
uint32_t instructionLength(uint32_t address);
// The address `count` instructions after `address` (count > 0) or before it (count < 0):
// a step back takes the longest of the distances 1 to 8 whose instruction ends exactly
// at the current address, else 1. The result stays within 0..ramTop + 1.
uint32_t moveByInstructions(uint32_t address, int count);

// The text of the instruction at `address` without address and bytes ("LD    A,#20").
std::string InstructionText(uint32_t address);
