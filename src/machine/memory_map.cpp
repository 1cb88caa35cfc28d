#include "machine/memory_map.h"

#include <cstring>

MemoryMap memoryMap;

namespace {

// Where writes to the ROM and to memory the model lacks go; never read.
uint8_t discardedBlock[0x400];

bool BuiltFromMachine() {
    return memoryMap.model == machine.model && memoryMap.topPage == machine.topPage &&
           std::memcmp(memoryMap.pages, machine.pages, sizeof memoryMap.pages) == 0;
}

} // namespace

void BuildMemoryMap() {
    std::memcpy(memoryMap.pages, machine.pages, sizeof memoryMap.pages);
    memoryMap.model = machine.model;
    memoryMap.topPage = machine.topPage;
    if (!machine.pages[0]) { // no page table yet: everything reads 0 and nothing is kept
        for (int block = 0; block < MemoryMap::kBlocks; ++block) {
            memoryMap.read[block] = kReadsAsZero.data();
            memoryMap.write[block] = discardedBlock;
        }
        return;
    }
    for (int block = 0; block < MemoryMap::kBlocks; ++block) {
        const auto start = uint16_t(block << 10);
        memoryMap.read[block] = DataReadCell(start);
        uint8_t* written = DataWriteCell(start);
        memoryMap.write[block] = written ? written : discardedBlock;
    }
}

void SyncMemoryMap() {
    if (!BuiltFromMachine()) BuildMemoryMap();
}
