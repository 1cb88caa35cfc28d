// The processor's view of memory. Data reads and writes fold the Ace's mirrors and
// respect the model's RAM ceiling; opcode fetches go straight through the page table.
//
// The Ace decodes memory loosely: 0x2000-0x23FF mirrors video RAM, 0x2800-0x2BFF the
// character RAM (which the processor can write but never read back: it reads 0xFF),
// and 0x3000-0x3BFF three copies of the 1 KB user RAM at 0x3C00.
#pragma once

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

// Page 1 (0x2000-0x3FFF) is tested first: every model has it (topPage is at least 1)
// and most data accesses go there, so they skip the ceiling test.
[[gnu::always_inline]] inline uint8_t ReadMemory(uint16_t a) {
    const uint32_t page = a >> 13;
    const uint32_t offset = a & 0x1FFFu;
    if (page == 1) {
        if ((offset & 0x1800) == 0x0800) return 0xFF; // character RAM is write-only
        return machine.pages[1][FoldPageOneOffset(offset)];
    }
    if (page > machine.topPage) return 0x00;
    return machine.pages[page][offset];
}

[[gnu::always_inline]] inline void WriteMemory(uint16_t a, uint8_t v) {
    if (a < 0x2000) return; // ROM
    const uint32_t page = a >> 13;
    const uint32_t offset = a & 0x1FFFu;
    if (page == 1) {
        const uint32_t folded = FoldPageOneOffset(offset);
        uint8_t& cell = machine.pages[1][folded];
        if (folded < 0x1000) [[unlikely]] {
            // Video or character RAM: the beam shows a change from where it is now on.
            if (cell != v) NoteScreenWrite(uint16_t(folded), cell, v);
        }
        cell = v;
        return;
    }
    // Any model number other than 0-2 writes like the 51K machine.
    if (machine.model < 3 && page > 2 * machine.model + 1) return;
    machine.pages[page][offset] = v;
}

// Opcode fetch: no mirroring, no ceiling, no write-only character RAM.
[[gnu::always_inline]] inline uint8_t FetchOpcodeByte(uint16_t a) {
    return machine.pages[a >> 13][a & 0x1FFF];
}
