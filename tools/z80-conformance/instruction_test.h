// One per-instruction test case, as both the FUSE suite and SingleStepTests describe it
// (a starting state and memory, an expected state, memory and port traffic), and the
// runner that sets it up on a flat bus, steps the core and reports what differed.
//
// Two things about the core shape every run:
// - A DD or FD prefix that modifies nothing is a step of its own that adds no T-states
//   and leaves `prefixDelay` set; the opcode after it runs in the next step. Real Z80s,
//   and both suites, charge the lone prefix one 4-T-state opcode fetch, so each lone
//   prefix adds 4 to the compared T-state total.
// - Interrupts are never raised (`intLine` stays 0), so Z80Step is pure execution.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "cpu_state.h"
#include "flat_bus.h"

struct MemByte {
    uint16_t addr;
    uint8_t value;
};

struct InstructionTest {
    std::string name;
    Z80Regs initial, expected;
    std::vector<MemByte> initialMem;  // bytes to load; everything else is 0
    std::vector<MemByte> expectedMem; // bytes expected afterwards (initialMem where not listed)
    PortReads portReads = PortReads::Idle;
    std::vector<uint8_t> portScript;       // successive IN values when portReads is Scripted
    std::vector<PortAccess> expectedPorts; // every IN and OUT, in order
    uint32_t runUntil = 0;        // run whole steps until T-states >= this; 0 = one instruction
    uint32_t expectedTstates = 0;
    CompareFields fields;
    uint8_t flagMask = 0xFF; // F bits compared (the core's documented deviations clear some)
};

struct RunOutcome {
    Z80Regs regs;
    uint32_t tstates = 0; // including 4 per lone prefix
    int lonePrefixes = 0;
    bool ranAway = false; // the step limit was hit before the stop condition
};

class InstructionRunner {
public:
    InstructionRunner();
    // Loads the test and runs it; memory and logs stay for Compare.
    RunOutcome Run(const InstructionTest& t);
    // "" when the outcome matches; otherwise every difference, "; "-separated.
    std::string Compare(const InstructionTest& t, const RunOutcome& got) const;
    // The instruction bytes at the test's starting pc, from its initial memory.
    static std::vector<uint8_t> OpcodeBytes(const InstructionTest& t, int count);

private:
    std::unique_ptr<FlatBus> bus_;
    MachineState m_{};
    std::vector<uint16_t> dirty_; // addresses to clear before the next test
};
