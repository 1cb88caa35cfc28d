// The text of the debugger's panes, made from the machine's state: the 15 register
// rows, the memory pane, and the Stack, AY and PORTS tabs. The window and
// noltace-headless print the same lines.
//
// The register dumps read through the page table (the ROM below 0x2000, the RAM block
// above, no mirror folding); the memory pane shows what the processor reads
// (ReadMemory: the mirrors folded, character RAM as 0xFF). Every address wraps at 64 KB.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

constexpr int kMemoryRows = 32; // memory pane: rows of 8 bytes
constexpr int kStackLines = 16; // Stack tab: words
constexpr uint32_t kMemoryPaneFloor = 0x2000;

// A byte as the panes show it: printable ASCII as itself, anything else (controls,
// DEL, the top half) as ".".
inline char ShownCharacter(uint8_t b) {
    return b < 0x20 || b >= 0x7F ? '.' : char(b);
}

// "S Z - H - P N C" with "-" for each clear flag.
std::string FlagString(uint8_t f);
// " %02X" of the 8 bytes from `address`, two spaces, the bytes as characters.
std::string MemoryDump(uint32_t address);
// "PC  4000 ..." to "MEMPTR 0000  LASTPC 0000".
std::vector<std::string> RegisterPaneRows();

// The memory pane's first address: a multiple of 8 within 0x2000 and the last position
// whose 32 rows still end at machine.ramTop.
uint32_t ClampMemoryTop(int64_t address);
std::vector<std::string> MemoryPaneRows(uint32_t memoryTop);

// The Stack tab's first address: even, from sp up to where 16 words still fit below
// ramTop.
uint32_t ClampStackTop(int64_t address);
std::vector<std::string> StackLines(uint32_t stackTop);
std::vector<std::string> AyLines();
// The eight keyboard half-rows by port, then the last value seen on each decoded port.
std::vector<std::string> PortLines();
