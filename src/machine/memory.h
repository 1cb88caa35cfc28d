// The processor's view of memory. Data reads and writes fold the Ace's mirrors and
// respect the model's RAM ceiling; opcode fetches go straight through the page table.
//
// The Ace decodes memory loosely: 0x2000-0x23FF mirrors video RAM, 0x2800-0x2BFF the
// character RAM (which the processor can write but never read back: it reads 0xFF),
// and 0x3000-0x3BFF three copies of the 1 KB user RAM at 0x3C00.
#pragma once

#include <array>
#include <cstdint>

#include "display/renderer.h"
#include "machine/machine_state.h"

// Applies the mirror folding to an address in 0x2000-0x3BFF; others come back unchanged.
[[gnu::always_inline]] inline uint16_t FoldMirrors(uint16_t a) {
    if (a >= 0x2000 && a < 0x2400) return a + 0x400;
    if (a >= 0x2800 && a < 0x2C00) return a + 0x400;
    if (a >= 0x3800 && a < 0x3C00) return a + 0x400;
    if (a >= 0x3000 && a < 0x3400) return a + 0xC00;
    if (a >= 0x3400 && a < 0x3800) return a + 0x800;
    return a;
}

// The same folding as an offset within the 8 KB page at 0x2000: every 1 KB block of
// 0x000-0xFFF lands in 0x400-0x7FF (video) or 0xC00-0xFFF (characters), every block of
// 0x1000-0x1FFF in 0x1C00-0x1FFF (user RAM), by setting bits, without a comparison.
[[gnu::always_inline]] inline uint32_t FoldPageOneOffset(uint32_t offset) {
    return offset | 0x400 | ((offset >> 1) & 0x800);
}

// The cells that define the processor's data accesses; ReadMemory and WriteMemory below
// and the 1 KB block map of the step (memory_map.h) are both built on them. The mirror
// folding and the limits act on whole 1 KB blocks, so a block's cells lie together.
inline constexpr std::array<uint8_t, 0x400> kReadsAsFF = [] {
    std::array<uint8_t, 0x400> block{};
    block.fill(0xFF);
    return block;
}();
inline constexpr std::array<uint8_t, 0x400> kReadsAsZero{};

// The byte a data read of `a` sees: the character RAM reads 0xFF, memory above the
// model's RAM reads 0x00.
inline const uint8_t* DataReadCell(uint16_t a) {
    const uint32_t page = a >> 13;
    const uint32_t offset = a & 0x1FFFu;
    if (page == 1) {
        if ((offset & 0x1800) == 0x0800) return &kReadsAsFF[offset & 0x3FF]; // write-only
        return &machine.pages[1][FoldPageOneOffset(offset)];
    }
    if (page > machine.topPage) return &kReadsAsZero[offset & 0x3FF];
    return &machine.pages[page][offset];
}

// Where a data write of `a` lands; nullptr for the ROM and memory the model lacks. Any
// model number other than 0-2 writes like the 51K machine.
inline uint8_t* DataWriteCell(uint16_t a) {
    const uint32_t page = a >> 13;
    const uint32_t offset = a & 0x1FFFu;
    if (page == 0) return nullptr;
    if (page == 1) return &machine.pages[1][FoldPageOneOffset(offset)];
    if (machine.model < 3 && page > 2 * machine.model + 1) return nullptr;
    return &machine.pages[page][offset];
}

// True for the addresses whose writes the beam must see: video and character RAM with
// their mirrors, 0x2000-0x2FFF.
[[gnu::always_inline]] inline bool IsScreenAddress(uint16_t a) {
    return (a & 0xF000) == 0x2000;
}

// A write into video or character RAM: the beam shows a change from where it is now on.
[[gnu::always_inline]] inline void WriteScreenCell(uint16_t a, uint8_t& cell, uint8_t v) {
    if (cell != v) NoteScreenWrite(uint16_t(FoldPageOneOffset(a & 0x1FFFu)), cell, v);
    cell = v;
}

inline uint8_t ReadMemory(uint16_t a) {
    return *DataReadCell(a);
}

inline void WriteMemory(uint16_t a, uint8_t v) {
    uint8_t* cell = DataWriteCell(a);
    if (!cell) return;
    if (IsScreenAddress(a))
        WriteScreenCell(a, *cell, v);
    else
        *cell = v;
}

// Opcode fetch: no mirroring, no ceiling, no write-only character RAM. Pages 1-7 are
// the RAM block in order (BuildPageTable), so above the ROM the address indexes the block
// itself: the byte comes one load after pc instead of two.
[[gnu::always_inline]] inline uint8_t FetchOpcodeByte(uint16_t a) {
    const uint8_t* base = a < 0x2000 ? machine.pages[0] : ramBlock;
    return base[a];
}
