// The Jupiter Ace as the Z80 core's bus: data through the memory map (mirrors folded),
// opcodes through the page table, ports through the Ace's port decoder, the ED FC/FD
// traps to the tape deck.
#pragma once

#include "display/renderer.h"
#include "machine/memory_map.h"
#include "machine/ports.h"
#include "tape/tape_deck.h"

struct AceBus {
    [[gnu::always_inline]] uint8_t Fetch(uint16_t a) { return FetchOpcodeByte(a); }
    [[gnu::always_inline]] uint8_t Read(uint16_t a) { return MappedRead(a); }
    [[gnu::always_inline]] void Write(uint16_t a, uint8_t v) { MappedWrite(a, v); }
    [[gnu::always_inline]] uint8_t In(uint16_t port) { return PortIn(port); }
    [[gnu::always_inline]] void Out(uint16_t port, uint8_t v) { PortOut(port, v); }
    bool LoadTrap() {
        CatchUpBeam(); // the deck writes memory directly, maybe video RAM
        return TapeLoadTrap();
    }
    void SaveTrap() { TapeSaveTrap(); }
};
