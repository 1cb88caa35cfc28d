#include "debugger/debugger_text.h"

#include <cstdarg>
#include <cstdio>

#include "machine/machine_state.h"
#include "machine/memory.h"
#include "sound/ay.h"

namespace {

std::string Printf(const char* format, ...) {
    char text[128];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    return text;
}

uint8_t ByteAt(uint32_t a) {
    a &= 0xFFFF;
    return machine.pages[a >> 13][a & 0x1FFF];
}

std::string Characters(uint32_t address, int count) {
    std::string text;
    for (int k = 0; k < count; ++k)
        text += ShownCharacter(ByteAt(address + uint32_t(k)));
    return text;
}

// Port labels of the PORTS tab with the keyMatrix row each reads: the row is picked by
// the one low bit of the port's high byte (bit n selects keyMatrix[n]).
struct KeyboardPort {
    const char* label;
    int row;
};
const KeyboardPort kKeyboardPorts[8] = {{"7FFE", 7}, {"BFFE", 6}, {"DFFE", 5}, {"EFFE", 4},
                                        {"F7FE", 3}, {"FBFE", 2}, {"FDFE", 1}, {"FEFE", 0}};

struct LatchedPort {
    const char* label;
    PortLatch latch;
};
const LatchedPort kLatchedPorts[8] = {{"xx01", kLatch01}, {"xx3F", kLatch3F}, {"xx5F", kLatch5F},
                                      {"xxDD", kLatchDD}, {"xxDF", kLatchDF}, {"xxFD", kLatchFD},
                                      {"xxFE", kLatchFE}, {"xxFF", kLatchFF}};

std::string PortLine(const char* label, uint8_t value) {
    std::string bits;
    for (int bit = 7; bit >= 0; --bit)
        bits += (value >> bit & 1) ? '1' : '0';
    return Printf("%s: %s - %02X", label, bits.c_str(), value);
}

} // namespace

std::string FlagString(uint8_t f) {
    const char letters[8] = {'S', 'Z', '-', 'H', '-', 'P', 'N', 'C'};
    const uint8_t masks[8] = {0x80, 0x40, 0, 0x10, 0, 0x04, 0x02, 0x01};
    std::string text;
    for (int k = 0; k < 8; ++k) {
        if (k) text += ' ';
        text += masks[k] && (f & masks[k]) ? letters[k] : '-';
    }
    return text;
}

std::string MemoryDump(uint32_t address) {
    std::string text;
    for (uint32_t k = 0; k < 8; ++k)
        text += Printf(" %02X", ByteAt(address + k));
    return text + "  " + Characters(address, 8);
}

std::vector<std::string> RegisterPaneRows() {
    const MachineState& m = machine;
    return {
        Printf("PC  %04X", m.pc) + MemoryDump(m.pc),
        Printf("SP  %04X ", m.sp),
        Printf("AF  %02X%02X  ", m.af.hi, m.af.lo) + FlagString(m.af.lo),
        Printf("BC  %04X ", m.bc.w) + MemoryDump(m.bc.w),
        Printf("DE  %04X ", m.de.w) + MemoryDump(m.de.w),
        Printf("HL  %04X ", m.hl.w) + MemoryDump(m.hl.w),
        Printf("IX  %04X ", m.ix.w) + MemoryDump(m.ix.w),
        Printf("IY  %04X ", m.iy.w) + MemoryDump(m.iy.w),
        Printf("AF' %02X%02X  ", m.afAlt.hi, m.afAlt.lo) + FlagString(m.afAlt.lo),
        Printf("BC' %04X ", m.bcAlt.w) + MemoryDump(m.bcAlt.w),
        Printf("DE' %04X ", m.deAlt.w) + MemoryDump(m.deAlt.w),
        Printf("HL' %04X ", m.hlAlt.w) + MemoryDump(m.hlAlt.w),
        Printf("IR  %04X ", unsigned(m.i) * 256 + m.r),
        Printf("IM %d", m.im) + (m.iff1 ? " INTERRUPTS ON " : " INTERRUPTS OFF") +
            Printf(" TStates: %u", m.tstates),
        Printf("MEMPTR %04X", m.memptr) + Printf("  LASTPC %04X", m.lastPc),
    };
}

uint32_t ClampMemoryTop(int64_t address) {
    const int64_t highest = int64_t(machine.ramTop) + 1 - kMemoryRows * 8;
    if (address > highest) address = highest;
    if (address < kMemoryPaneFloor) address = kMemoryPaneFloor;
    return uint32_t(address) & ~7u;
}

std::vector<std::string> MemoryPaneRows(uint32_t memoryTop) {
    std::vector<std::string> rows;
    for (int row = 0; row < kMemoryRows; ++row) {
        const uint32_t address = memoryTop + uint32_t(row) * 8;
        if (address > machine.ramTop) break;
        // What the processor reads there: the mirrors folded, character RAM as 0xFF.
        std::string text = Printf("%04X   ", address), characters;
        for (uint32_t k = 0; k < 8; ++k) {
            const uint8_t byte = ReadMemory(uint16_t(address + k));
            text += Printf("%02X ", byte);
            characters += ShownCharacter(byte);
        }
        rows.push_back(text + " " + characters);
    }
    return rows;
}

uint32_t ClampStackTop(int64_t address) {
    const int64_t highest = int64_t(machine.ramTop) + 1 - kStackLines * 2;
    if (address > highest) address = highest;
    if (address < machine.sp) address = machine.sp;
    if (address < 0) address = 0;
    return uint32_t(address) & ~1u;
}

std::vector<std::string> StackLines(uint32_t stackTop) {
    std::vector<std::string> lines;
    for (int k = 0; k < kStackLines; ++k) {
        const uint32_t address = stackTop + uint32_t(k) * 2;
        if (address + 1 > machine.ramTop) break;
        lines.push_back(Printf("%04X:       %02X%02X", address, ByteAt(address + 1), ByteAt(address)));
    }
    return lines;
}

std::vector<std::string> AyLines() {
    std::vector<std::string> lines;
    for (int reg = 0; reg < 16; ++reg)
        lines.push_back(Printf("%-30s %02X", kAyRegisterLabels[reg], ay.regs[reg]));
    return lines;
}

std::vector<std::string> PortLines() {
    std::vector<std::string> lines;
    for (const KeyboardPort& port : kKeyboardPorts)
        lines.push_back(PortLine(port.label, machine.keyMatrix[port.row]));
    for (const LatchedPort& port : kLatchedPorts)
        lines.push_back(PortLine(port.label, machine.portLatches[port.latch]));
    return lines;
}
