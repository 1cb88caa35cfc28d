// The step's map of memory in 1 KB blocks: for each block, where its data reads and its
// data writes go, worked out once from the cells of memory.h (mirrors folded, character
// RAM reading 0xFF, the model's limits) so that an access in the instruction loop is one
// table look-up instead of the page tests.
//
// The map follows the page table and the model: building the page table, applying a
// model's limits and restoring a saved state rebuild it, and every run of instructions
// starts with SyncMemoryMap(), which rebuilds it when anything it was built from has
// changed since (a test or a tool that set the model's fields directly).
#pragma once

#include <cstdint>

#include "machine/memory.h"

struct MemoryMap {
    static constexpr int kBlocks = 64;
    const uint8_t* read[kBlocks];
    uint8_t* write[kBlocks]; // a discarded block for the ROM and missing RAM

    // What the map was built from.
    uint8_t* pages[8];
    uint32_t model, topPage;
};

extern MemoryMap memoryMap;

void BuildMemoryMap();
void SyncMemoryMap();

[[gnu::always_inline]] inline uint8_t MappedRead(uint16_t a) {
    return memoryMap.read[a >> 10][a & 0x3FF];
}

// Writes into video and character RAM go on to the beam (memory.h).
[[gnu::always_inline]] inline void MappedWrite(uint16_t a, uint8_t v) {
    uint8_t& cell = memoryMap.write[a >> 10][a & 0x3FF];
    if (IsScreenAddress(a)) [[unlikely]]
        WriteScreenCell(a, cell, v);
    else
        cell = v;
}
