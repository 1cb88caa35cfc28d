// Interrupts, NMI, HALT and EI timing of the Z80 core: first on the flat test bus, then
// through the real machine (AceBus, the global `machine`, ExecuteInstruction with its
// hooks) so that the vector, the stack and the handler go through the Ace's memory map.
#include "machine/memory.h"
#include "machine/z80.h"
#include "test_support.h"
#include "z80_test_bus.h"

namespace {

using Z80InterruptTest = Z80Test;

// Interrupts enabled in IM 1, the line raised, the frame's first T-state.
void RaiseInterrupt(MachineState& m) {
    m.iff1 = m.iff2 = 1;
    m.im = 1;
    m.intLine = 1;
    m.tstates = 0;
    m.sp = 0x9000;
}

uint16_t Stacked(const Z80TestBus& bus, uint16_t sp) { return uint16_t(bus.mem[sp] | (bus.mem[sp + 1] << 8)); }

TEST_F(Z80InterruptTest, AcceptanceStacksPcAndRunsTheHandlersFirstInstruction) {
    RaiseInterrupt(m);
    m.q = 1;
    m.r = 0x7F;
    m.pc = 0x8000;
    EXPECT_EQ(Step(), 13u + 4u) << "IM 1 acceptance, then the NOP at 0x0038";
    EXPECT_EQ(m.pc, 0x0039);
    EXPECT_EQ(m.instrStart, 13u) << "acceptance is not part of the instruction's T-states";
    EXPECT_EQ(m.memptr, 0x0038);
    EXPECT_EQ(m.sp, 0x8FFE);
    EXPECT_EQ(Stacked(bus, 0x8FFE), 0x8000);
    EXPECT_EQ(m.iff1, 0);
    EXPECT_EQ(m.iff2, 0);
    EXPECT_EQ(m.r, 0x81) << "one increment for the acceptance, one for the NOP";
}

TEST_F(Z80InterruptTest, AcceptanceLeavesQ) {
    RaiseInterrupt(m);
    m.q = 1;
    m.pc = 0x8000;
    bus.mem[0x0038] = 0x37; // SCF as the handler's first instruction sees q = 1
    m.af.w = 0x0008;
    Step();
    EXPECT_EQ(F() & 0x28, 0x00) << "SCF still saw the q of the interrupted instruction";
}

TEST_F(Z80InterruptTest, ImZeroBehavesAsImOne) {
    RaiseInterrupt(m);
    m.im = 0;
    m.pc = 0x8000;
    EXPECT_EQ(Step(), 17u);
    EXPECT_EQ(m.pc, 0x0039);
}

TEST_F(Z80InterruptTest, ImTwoReadsTheVectorAtIAndTheIdleBus) {
    RaiseInterrupt(m);
    m.im = 2;
    m.i = 0x3F;
    m.pc = 0x8000;
    Load(0x3F20, {0x34, 0x12});
    EXPECT_EQ(Step(), 19u + 4u);
    EXPECT_EQ(m.pc, 0x1235);
    EXPECT_EQ(m.memptr, 0x1234);
}

TEST_F(Z80InterruptTest, NoAcceptanceOutsideTheWindowOrWithInterruptsOff) {
    RaiseInterrupt(m);
    m.pc = 0x8000;
    m.tstates = 32;
    EXPECT_EQ(Step(), 4u);
    EXPECT_EQ(m.pc, 0x8001) << "the line counts only in the first 32 T-states";

    RaiseInterrupt(m);
    m.iff1 = 0;
    m.pc = 0x8000;
    Step();
    EXPECT_EQ(m.pc, 0x8001);

    RaiseInterrupt(m);
    m.intLine = 0;
    m.pc = 0x8000;
    Step();
    EXPECT_EQ(m.pc, 0x8001);

    RaiseInterrupt(m);
    m.pc = 0x8000;
    Z80StepNoInterrupt(m, bus);
    EXPECT_EQ(m.pc, 0x8001) << "the fast tape loop never takes an interrupt";
}

TEST_F(Z80InterruptTest, EiTakesEffectAfterTheFollowingInstruction) {
    RaiseInterrupt(m);
    m.iff1 = m.iff2 = 0;
    Load(0x8000, {0xFB, 0x00, 0x00}); // EI; NOP; NOP
    m.pc = 0x8000;
    Step();
    EXPECT_EQ(m.eiDelay, 1);
    Step();
    EXPECT_EQ(m.pc, 0x8002) << "not before the NOP";
    Step();
    EXPECT_EQ(m.pc, 0x0039) << "after it";
    EXPECT_EQ(Stacked(bus, m.sp), 0x8002);
}

TEST_F(Z80InterruptTest, HandlerThatReenablesEarlyIsInterruptedAgain) {
    RaiseInterrupt(m);
    Load(0x0038, {0xFB, 0x00}); // EI; NOP
    m.pc = 0x8000;
    Step(); // acceptance + EI at 17
    Step(); // NOP at 21, held off by EI
    EXPECT_EQ(m.pc, 0x003A);
    Step(); // 21 < 32: a second acceptance
    EXPECT_EQ(m.pc, 0x0039);
    EXPECT_EQ(Stacked(bus, m.sp), 0x003A);
}

TEST_F(Z80InterruptTest, HaltRepeatsOnItsOpcodeUntilTheInterrupt) {
    RaiseInterrupt(m);
    m.tstates = 100;
    m.r = 0;
    Load(0x8000, {0x76, 0x00});
    Load(0x0038, {0xFB, 0xC9}); // EI; RET
    m.pc = 0x8000;
    for (int k = 0; k < 5; ++k) {
        EXPECT_EQ(Step(), 4u);
        EXPECT_EQ(m.pc, 0x8000) << "pc stays on the HALT";
        EXPECT_EQ(m.halted, 1);
    }
    EXPECT_EQ(m.r, 5) << "each pass is an opcode fetch";

    m.tstates = 0; // the next frame
    Step();
    EXPECT_EQ(m.halted, 0);
    EXPECT_EQ(Stacked(bus, m.sp), 0x8001) << "the handler returns past the HALT";
    Step(); // RET
    EXPECT_EQ(m.pc, 0x8001);
}

TEST_F(Z80InterruptTest, NmiLeavesHaltKeepsIff2AndLeavesTheRequestToItsOwner) {
    m.iff1 = m.iff2 = 1;
    m.sp = 0x9000;
    Load(0x8000, {0x76});
    m.pc = 0x8000;
    Step();
    ASSERT_EQ(m.halted, 1);
    m.q = 1;

    NmiRequested = true;
    const uint32_t before = m.tstates;
    Z80AcceptNmi(m, bus);
    EXPECT_TRUE(NmiRequested) << "the request is the shell's: the frame driver's hook clears it";
    NmiRequested = false;
    EXPECT_EQ(m.tstates - before, 11u);
    EXPECT_EQ(m.pc, 0x0066);
    EXPECT_EQ(m.memptr, 0x0066);
    EXPECT_EQ(m.halted, 0);
    EXPECT_EQ(Stacked(bus, m.sp), 0x8001);
    EXPECT_EQ(m.iff1, 0);
    EXPECT_EQ(m.iff2, 1);
    EXPECT_EQ(m.q, 1);

    Load(0x0066, {0xED, 0x45}); // RETN gives IFF1 back
    Step();
    EXPECT_EQ(m.iff1, 1);
    EXPECT_EQ(m.pc, 0x8001);
}

// --- the real machine -------------------------------------------------------------------

class Z80MachineInterruptTest : public MachineTest {
protected:
    void SetUp() override {
        MachineTest::SetUp();
        // A ROM of NOPs to hold the handlers; the save trap planted at 0x1820 stays.
        uint8_t* rom = machine.pages[0];
        for (int a = 0; a < 0x1800; ++a) rom[a] = 0x00;
        machine.iff1 = machine.iff2 = 1;
        machine.im = 1;
        machine.intLine = 1;
        machine.tstates = 0;
        machine.sp = 0x3800; // the stack lands at 0x37FE/0x37FF, a mirror of 0x3FFE/0x3FFF
        machine.pc = 0x3C00;
        WriteMemory(0x3C00, 0x00);
    }
    uint16_t StackedRam(uint16_t at) const { return uint16_t(machine.ram[at] | (machine.ram[at + 1] << 8)); }
};

TEST_F(Z80MachineInterruptTest, FrameInterruptStacksThroughTheMirrorsAndRunsTheRomHandler) {
    machine.pages[0][0x0038] = 0x3C; // INC A
    ExecuteInstruction();
    EXPECT_EQ(machine.pc, 0x0038) << "the acceptance is a step of its own";
    EXPECT_EQ(machine.tstates, 13u);
    EXPECT_EQ(machine.instrTstates, 0u);
    ExecuteInstruction();
    EXPECT_EQ(machine.pc, 0x0039);
    EXPECT_EQ(machine.af.hi, 0x01);
    EXPECT_EQ(StackedRam(0x3FFE), 0x3C00) << "pushed through WriteMemory's mirror folding";
    EXPECT_EQ(machine.tstates, 17u);
    EXPECT_EQ(machine.instrTstates, 4u) << "the acceptance is outside the instruction's own cost";
    EXPECT_EQ(machine.lastPc, 0x0038);
}

TEST_F(Z80MachineInterruptTest, ImTwoVectorIsReadThroughReadMemory) {
    machine.im = 2;
    machine.i = 0x3F;
    machine.sp = 0x4000;
    WriteMemory(0x3F20, 0x00);
    WriteMemory(0x3F21, 0x3D); // handler at 0x3D00
    WriteMemory(0x3D00, 0x00);
    ExecuteInstruction();
    EXPECT_EQ(machine.pc, 0x3D00);
    ExecuteInstruction();
    EXPECT_EQ(machine.pc, 0x3D01);
    EXPECT_EQ(machine.tstates, 23u);
}

TEST_F(Z80MachineInterruptTest, NmiRequestedAtAFrameStartFollowsTheMaskableInterrupt) {
    NmiRequested = true;
    ExecuteInstruction();
    EXPECT_TRUE(NmiRequested) << "the NMI waits for the handler's first instruction";
    ExecuteInstruction();
    EXPECT_FALSE(NmiRequested);
    EXPECT_EQ(machine.pc, 0x0066);
    EXPECT_EQ(StackedRam(0x3FFC), 0x0039) << "the NMI came after the handler's first instruction";
    EXPECT_EQ(StackedRam(0x3FFE), 0x3C00);
    EXPECT_EQ(machine.tstates, 13u + 4u + 11u);
    EXPECT_EQ(machine.iff1, 0);
}

TEST_F(Z80MachineInterruptTest, HaltWaitsForTheNextFrame) {
    machine.tstates = 100;
    WriteMemory(0x3C00, 0x76);
    machine.pages[0][0x0038] = 0xFB; // EI
    machine.pages[0][0x0039] = 0xC9; // RET
    int steps = 0;
    while (machine.tstates < machine.frameTstates) {
        ExecuteInstruction();
        ++steps;
        ASSERT_EQ(machine.pc, 0x3C00);
    }
    EXPECT_EQ(steps, int((machine.frameTstates - 100 + 3) / 4));
    machine.tstates -= machine.frameTstates; // the frame driver's frame end
    machine.intLine = 1;
    ExecuteInstruction(); // the acceptance
    ExecuteInstruction(); // EI
    ExecuteInstruction(); // RET
    EXPECT_EQ(machine.pc, 0x3C01);
    EXPECT_EQ(machine.halted, 0);
}

TEST_F(Z80MachineInterruptTest, OpcodesComeFromThePageTableAndOperandsFromTheDataPath) {
    machine.intLine = 0;
    machine.ram[0x2C00] = 0x3E; // LD A,n in character RAM, which data reads see as 0xFF
    machine.ram[0x2C01] = 0x42;
    machine.pc = 0x2C00;
    ExecuteInstruction();
    EXPECT_EQ(machine.pc, 0x2C02);
    EXPECT_EQ(machine.af.hi, 0xFF);
}

} // namespace
