// Prefixed Z80 opcodes: lone DD/FD prefixes, the index-register halves, DDCB register
// copies, the ED tape traps and undefined ED opcodes, block repeats, memptr after
// jumps, and the T-state costs of each family.
#include "z80_test_bus.h"

namespace {

using Z80PrefixTest = Z80Test;

// --- lone prefixes ---------------------------------------------------------------------

TEST_F(Z80PrefixTest, LonePrefixCostsNothingAndHoldsOffTheInterrupt) {
    m.iff1 = m.iff2 = 1;
    m.im = 1;
    m.sp = 0x9000;
    m.tstates = 0;
    m.q = 1;
    Load(0x8000, {0xDD, 0x00, 0x00});
    m.pc = 0x8000;

    EXPECT_EQ(Step(), 0u) << "DD before an opcode it does not modify costs nothing";
    EXPECT_EQ(m.pc, 0x8001);
    EXPECT_EQ(m.r, 1);
    EXPECT_EQ(m.prefixDelay, 1);
    EXPECT_EQ(m.q, 1) << "q is left as it was";

    m.intLine = 1; // the interrupt arrives between the prefix and its opcode
    EXPECT_EQ(Step(), 4u);
    EXPECT_EQ(m.pc, 0x8002) << "the NOP ran, no interrupt in between";
    EXPECT_EQ(m.r, 2) << "r rose by 2 in total";

    Step();
    EXPECT_EQ(m.iff1, 0) << "after the NOP the interrupt is taken";
    EXPECT_EQ(bus.mem[0x8FFE], 0x02);
    EXPECT_EQ(bus.mem[0x8FFF], 0x80);
}

TEST_F(Z80PrefixTest, ARunOfPrefixesOnlyDelays) {
    m.hl.w = 0x1111;
    m.ix.w = 0x2222;
    m.iy.w = 0x3333;
    Load(0x8000, {0xDD, 0xFD, 0x21, 0x34, 0x12}); // DD FD LD IY,0x1234
    m.pc = 0x8000;
    EXPECT_EQ(Step(), 0u);
    EXPECT_EQ(Step(), 14u);
    EXPECT_EQ(m.iy.w, 0x1234);
    EXPECT_EQ(m.ix.w, 0x2222);
    EXPECT_EQ(m.hl.w, 0x1111);
    EXPECT_EQ(m.pc, 0x8005);
}

TEST_F(Z80PrefixTest, PrefixBeforeHaltIsIgnored) {
    Load(0x8000, {0xFD, 0x76});
    m.pc = 0x8000;
    Run(2);
    EXPECT_EQ(m.halted, 1);
    EXPECT_EQ(m.pc, 0x8001);
}

// --- index registers -------------------------------------------------------------------

TEST_F(Z80PrefixTest, IndexHalvesReplaceHAndLExceptBesideAMemoryOperand) {
    m.ix.w = 0x9000;
    m.hl.w = 0x5566;
    bus.mem[0x9005] = 0xAB;
    EXPECT_EQ(Exec({0xDD, 0x26, 0x90}), 11u); // LD IXH,0x90
    EXPECT_EQ(Exec({0xDD, 0x7D}), 8u);        // LD A,IXL
    EXPECT_EQ(A(), 0x00);
    EXPECT_EQ(Exec({0xDD, 0x66, 0x05}), 19u); // LD H,(IX+5): the real H
    EXPECT_EQ(m.hl.w, 0xAB66);
    EXPECT_EQ(m.ix.w, 0x9000);
    EXPECT_EQ(m.memptr, 0x9005);
    EXPECT_EQ(Exec({0xDD, 0x75, 0xFF}), 19u); // LD (IX-1),L
    EXPECT_EQ(bus.mem[0x8FFF], 0x66);
    EXPECT_EQ(Exec({0xDD, 0x65}), 8u); // LD IXH,IXL
    EXPECT_EQ(m.ix.w, 0x0000);
}

TEST_F(Z80PrefixTest, ArithmeticOnIndexHalvesAndIndexedMemory) {
    m.iy.w = 0x0305;
    m.af.hi = 0x10;
    EXPECT_EQ(Exec({0xFD, 0x84}), 8u); // ADD A,IYH
    EXPECT_EQ(A(), 0x13);
    m.iy.w = 0x9000;
    bus.mem[0x8FF0] = 0x13;
    EXPECT_EQ(Exec({0xFD, 0xBE, 0xF0}), 19u); // CP (IY-16)
    EXPECT_EQ(F() & 0x40, 0x40);
    EXPECT_EQ(Exec({0xFD, 0x34, 0xF0}), 23u); // INC (IY-16)
    EXPECT_EQ(bus.mem[0x8FF0], 0x14);
    EXPECT_EQ(Exec({0xFD, 0x36, 0x01, 0x77}), 19u); // LD (IY+1),0x77
    EXPECT_EQ(bus.mem[0x9001], 0x77);
}

TEST_F(Z80PrefixTest, DdcbShiftCopiesTheResultIntoTheNamedRegister) {
    m.ix.w = 0x9000;
    bus.mem[0x9005] = 0x81;
    EXPECT_EQ(Exec({0xDD, 0xCB, 0x05, 0x00}), 23u); // RLC (IX+5),B
    EXPECT_EQ(bus.mem[0x9005], 0x03);
    EXPECT_EQ(m.bc.hi, 0x03);
    EXPECT_EQ(F(), 0x05) << "parity even, C from bit 7";
    EXPECT_EQ(m.memptr, 0x9005);

    m.bc.hi = 0x55;
    Exec({0xDD, 0xCB, 0x05, 0x06}); // RLC (IX+5): memory only
    EXPECT_EQ(bus.mem[0x9005], 0x06);
    EXPECT_EQ(m.bc.hi, 0x55);

    m.hl.w = 0;
    Exec({0xDD, 0xCB, 0x05, 0xFC}); // SET 7,(IX+5),H: the real H, not IXH
    EXPECT_EQ(bus.mem[0x9005], 0x86);
    EXPECT_EQ(m.hl.hi, 0x86);
    EXPECT_EQ(m.ix.w, 0x9000);
}

TEST_F(Z80PrefixTest, FdcbBitTakesBits53FromTheEffectiveAddress) {
    m.iy.w = 0x2810;
    bus.mem[0x280E] = 0x00;
    EXPECT_EQ(Exec({0xFD, 0xCB, 0xFE, 0x46}), 20u); // BIT 0,(IY-2)
    EXPECT_EQ(F() & 0x28, 0x28) << "from 0x28, the high byte of 0x280E";
    EXPECT_EQ(F() & 0x44, 0x44);
}

TEST_F(Z80PrefixTest, UndocumentedSllShiftsAOneIn) {
    m.bc.hi = 0x80;
    EXPECT_EQ(Exec({0xCB, 0x30}), 8u); // SLL B
    EXPECT_EQ(m.bc.hi, 0x01);
    EXPECT_EQ(F(), 0x01);
}

// --- ED --------------------------------------------------------------------------------

TEST_F(Z80PrefixTest, LoadTrapRunsOnlyWithATapeAndSetsCarry) {
    m.af.w = 0x28FF;
    m.q = 1;
    EXPECT_EQ(Exec({0xED, 0xFC}), 0u);
    EXPECT_EQ(bus.loadTraps, 0);
    EXPECT_EQ(F(), 0xFF) << "no tape: nothing happens";

    bus.tapeInDeck = true;
    m.af.w = 0x2810;
    m.q = 0;
    EXPECT_EQ(Exec({0xED, 0xFC}), 0u);
    EXPECT_EQ(bus.loadTraps, 1);
    EXPECT_EQ(F(), 0x29);
    EXPECT_EQ(m.q, 0) << "the trap leaves q";
    EXPECT_EQ(m.pc, 0x8002);
}

TEST_F(Z80PrefixTest, SaveTrapAndReservedOpcodeCostNothing) {
    m.q = 1;
    EXPECT_EQ(Exec({0xED, 0xFD}), 0u);
    EXPECT_EQ(bus.saveTraps, 1);
    EXPECT_EQ(m.q, 1);
    EXPECT_EQ(Exec({0xED, 0xFE}), 0u);
    EXPECT_EQ(m.pc, 0x8002);
    EXPECT_EQ(m.r, 4);
}

TEST_F(Z80PrefixTest, UndefinedEdOpcodesAreEightStateNops) {
    for (uint8_t op : {0x00, 0x77, 0x7F, 0x80, 0xC0, 0xFF}) {
        const MachineState before = m;
        EXPECT_EQ(Exec({0xED, op}), 8u) << int(op);
        EXPECT_EQ(m.pc, 0x8002);
        EXPECT_EQ(m.af.w, before.af.w);
        EXPECT_EQ(m.r, uint8_t(before.r + 2));
    }
}

TEST_F(Z80PrefixTest, PortInstructionsUseTheWholeAddressAndSetMemptr) {
    m.bc.w = 0x12FE;
    bus.portValue = 0x00;
    m.af.lo = 0x01;
    EXPECT_EQ(Exec({0xED, 0x70}), 12u); // IN (C): flags only
    EXPECT_EQ(F(), 0x45);
    EXPECT_EQ(m.memptr, 0x12FF);
    EXPECT_EQ(Exec({0xED, 0x71}), 12u); // OUT (C),0
    m.af.hi = 0x34;
    EXPECT_EQ(Exec({0xD3, 0xFF}), 11u); // OUT (0xFF),A
    EXPECT_EQ(m.memptr, 0x3400);
    EXPECT_EQ(Exec({0xDB, 0x56}), 11u); // IN A,(0x56)
    EXPECT_EQ(m.memptr, 0x3457);
    EXPECT_EQ(A(), 0x00);
    ASSERT_EQ(bus.outs.size(), 2u);
    EXPECT_EQ(bus.outs[0], std::make_pair(uint16_t(0x12FE), uint8_t(0)));
    EXPECT_EQ(bus.outs[1], std::make_pair(uint16_t(0x34FF), uint8_t(0x34)));
    EXPECT_EQ(bus.portsRead, (std::vector<uint16_t>{0x12FE, 0x3456}));
}

TEST_F(Z80PrefixTest, LdirRepeatsOnTheEdByteAt21AndEndsAt16) {
    m.hl.w = 0x9000;
    m.de.w = 0xA000;
    m.bc.w = 1;
    EXPECT_EQ(Exec({0xED, 0xB0}), 16u);
    EXPECT_EQ(m.pc, 0x8002);

    m.bc.w = 2;
    m.memptr = 0;
    EXPECT_EQ(Exec({0xED, 0xB0}), 21u);
    EXPECT_EQ(m.pc, 0x8000) << "back on the ED byte";
    EXPECT_EQ(m.memptr, 0x8001);
    EXPECT_EQ(F() & 0x04, 0x04);
    EXPECT_EQ(Step(), 16u);
    EXPECT_EQ(m.pc, 0x8002);
    EXPECT_EQ(m.bc.w, 0);
    EXPECT_EQ(F() & 0x04, 0x00);
}

TEST_F(Z80PrefixTest, CpirStopsAtAMatch) {
    m.hl.w = 0x9000;
    m.bc.w = 10;
    m.af.hi = 0x42;
    bus.mem[0x9002] = 0x42;
    Load(0x8000, {0xED, 0xB1});
    m.pc = 0x8000;
    EXPECT_EQ(Run(3), 21u + 21u + 16u);
    EXPECT_EQ(m.hl.w, 0x9003);
    EXPECT_EQ(m.bc.w, 7);
    EXPECT_EQ(F() & 0x40, 0x40);
    EXPECT_EQ(m.pc, 0x8002);
}

TEST_F(Z80PrefixTest, OtirSendsWithTheDecrementedB) {
    m.hl.w = 0x9000;
    m.bc.w = 0x02FE;
    bus.mem[0x9000] = 0x11;
    bus.mem[0x9001] = 0x22;
    Load(0x8000, {0xED, 0xB3});
    m.pc = 0x8000;
    EXPECT_EQ(Run(2), 21u + 16u);
    EXPECT_EQ(bus.outs, (std::vector<std::pair<uint16_t, uint8_t>>{{0x01FE, 0x11}, {0x00FE, 0x22}}));
    EXPECT_EQ(F() & 0x40, 0x40);
}

// --- memptr after jumps -----------------------------------------------------------------

TEST_F(Z80PrefixTest, ConditionalJumpMovesMemptrOnlyWhenTaken) {
    m.memptr = 0x1234;
    m.af.lo = 0x40; // Z
    EXPECT_EQ(Exec({0xC2, 0x78, 0x56}), 10u); // JP NZ,0x5678 not taken
    EXPECT_EQ(m.pc, 0x8003);
    EXPECT_EQ(m.memptr, 0x1234);
    m.af.lo = 0x00;
    EXPECT_EQ(Exec({0xC2, 0x78, 0x56}), 10u); // taken
    EXPECT_EQ(m.pc, 0x5678);
    EXPECT_EQ(m.memptr, 0x5678);

    m.memptr = 0x1234;
    m.sp = 0x9000;
    m.af.lo = 0x01;
    EXPECT_EQ(Exec({0xD4, 0x00, 0x70}), 10u); // CALL NC not taken
    EXPECT_EQ(m.memptr, 0x1234);
    EXPECT_EQ(m.sp, 0x9000);
    EXPECT_EQ(Exec({0xDC, 0x00, 0x70}), 17u); // CALL C taken
    EXPECT_EQ(m.pc, 0x7000);
    EXPECT_EQ(m.memptr, 0x7000);
    EXPECT_EQ(m.sp, 0x8FFE);
}

TEST_F(Z80PrefixTest, AddHlAndJpHlLeaveMemptr) {
    m.memptr = 0x4321;
    m.hl.w = 0x1000;
    Exec({0x29});       // ADD HL,HL
    Exec({0xED, 0x4A}); // ADC HL,BC
    Exec({0xDD, 0x09}); // ADD IX,BC
    EXPECT_EQ(m.memptr, 0x4321);
    Exec({0xE9}); // JP (HL)
    EXPECT_EQ(m.pc, 0x2000);
    EXPECT_EQ(m.memptr, 0x4321);
}

TEST_F(Z80PrefixTest, StoresOfASetMemptrFromTheLowAddressByteAndA) {
    m.af.hi = 0xAA;
    m.bc.w = 0x90FF;
    Exec({0x02}); // LD (BC),A
    EXPECT_EQ(m.memptr, 0xAA00);
    Exec({0x32, 0x10, 0x90}); // LD (0x9010),A
    EXPECT_EQ(m.memptr, 0xAA11);
    Exec({0x0A}); // LD A,(BC)
    EXPECT_EQ(m.memptr, 0x9100);
}

// --- costs -------------------------------------------------------------------------------

struct Cost {
    std::vector<uint8_t> bytes;
    uint32_t tstates;
};

TEST_F(Z80PrefixTest, EachFamilyCostsItsZilogTStates) {
    const std::vector<Cost> costs = {
        {{0x00}, 4},              {{0x41}, 4},              {{0x46}, 7},
        {{0x01, 0, 0}, 10},       {{0x22, 0, 0x90}, 16},    {{0x3A, 0, 0}, 13},
        {{0x03}, 6},              {{0x34}, 11},             {{0xC5}, 11},
        {{0xC1}, 10},             {{0xCD, 0, 0x70}, 17},    {{0xC9}, 10},
        {{0xFF}, 11},             {{0xE3}, 19},             {{0xF9}, 6},
        {{0x18, 0}, 12},          {{0x10, 0}, 13},          {{0xC8}, 5},
        {{0xC0}, 11},             {{0xCB, 0x20}, 8},        {{0xCB, 0x36}, 15},
        {{0xCB, 0x46}, 12},       {{0xCB, 0xC6}, 15},       {{0xCB, 0x87}, 8},
        {{0xED, 0x44}, 8},        {{0xED, 0x45}, 14},       {{0xED, 0x56}, 8},
        {{0xED, 0x47}, 9},        {{0xED, 0x67}, 18},       {{0xED, 0x43, 0, 0x90}, 20},
        {{0xDD, 0x21, 0, 0}, 14}, {{0xDD, 0x23}, 10},       {{0xDD, 0xE5}, 15},
        {{0xDD, 0xE1}, 14},       {{0xDD, 0xE3}, 23},       {{0xDD, 0xE9}, 8},
        {{0xDD, 0xF9}, 10},       {{0xDD, 0x09}, 15},       {{0xDD, 0x35, 0}, 23},
    };
    for (const Cost& c : costs) {
        m = MachineState{};
        m.tstates = 1000;
        m.sp = 0x9000;
        m.hl.w = 0x9000;
        m.ix.w = 0x9000;
        m.bc.w = 0x0200; // DJNZ taken
        m.af.lo = 0x00;  // RET Z not taken, RET NZ taken
        for (size_t k = 0; k < c.bytes.size(); ++k) bus.mem[0x8000 + k] = c.bytes[k];
        m.pc = 0x8000;
        EXPECT_EQ(Step(), c.tstates) << "opcode " << std::hex << int(c.bytes[0]) << " " << int(c.bytes.size() > 1 ? c.bytes[1] : 0);
    }
}

} // namespace
