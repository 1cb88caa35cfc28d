// A bare Z80 system for the core's unit tests: 64 KB of flat RAM, ports that record
// every access, and a tape trap that can be told whether a tape is in the deck. The
// fixture runs the core on its own MachineState, not the global machine.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <utility>
#include <vector>

#include "machine/run_state.h"
#include "machine/z80_core.h"
#include "machine/z80_tables.h"

struct Z80TestBus {
    uint8_t mem[0x10000] = {};
    uint8_t portValue = 0xFF;                      // what every IN returns
    std::vector<uint16_t> portsRead;               // IN addresses, in order
    std::vector<std::pair<uint16_t, uint8_t>> outs; // OUT address and value, in order
    bool tapeInDeck = false;
    int loadTraps = 0, saveTraps = 0;

    uint8_t Fetch(uint16_t a) { return mem[a]; }
    uint8_t Read(uint16_t a) { return mem[a]; }
    void Write(uint16_t a, uint8_t v) { mem[a] = v; }
    uint8_t In(uint16_t port) {
        portsRead.push_back(port);
        return portValue;
    }
    void Out(uint16_t port, uint8_t v) { outs.emplace_back(port, v); }
    bool LoadTrap() {
        if (!tapeInDeck) return false;
        ++loadTraps;
        return true;
    }
    void SaveTrap() { ++saveTraps; }
};

class Z80Test : public ::testing::Test {
protected:
    MachineState m;
    Z80TestBus bus;

    void SetUp() override {
        BuildFlagTables();
        NmiRequested = false;
        m.tstates = 1000; // outside the interrupt window unless a test moves it
    }
    void TearDown() override { NmiRequested = false; }

    void Load(uint16_t at, std::initializer_list<uint8_t> bytes) {
        for (uint8_t b : bytes) bus.mem[at++] = b;
    }
    // Runs one step (interrupt check and one instruction); returns the T-states it took.
    uint32_t Step() {
        const uint32_t before = m.tstates;
        Z80Step(m, bus);
        return m.tstates - before;
    }
    // Runs `count` steps from the current pc; returns their total T-states.
    uint32_t Run(int count) {
        uint32_t total = 0;
        for (int k = 0; k < count; ++k) total += Step();
        return total;
    }
    // Loads the bytes at 0x8000, points pc there and runs one step.
    uint32_t Exec(std::initializer_list<uint8_t> bytes) {
        Load(0x8000, bytes);
        m.pc = 0x8000;
        return Step();
    }

    uint8_t A() const { return m.af.hi; }
    uint8_t F() const { return m.af.lo; }
};
