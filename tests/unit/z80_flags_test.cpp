// Flag results of the Z80 core where emulators commonly go wrong: the undocumented bits
// 3 and 5 (from the result, the operand, A, or the WZ register), the q latch behind SCF
// and CCF, DAA, and the R register's counting.
#include "z80_test_bus.h"

namespace {

using Z80FlagsTest = Z80Test;

// --- SCF / CCF and the q latch -------------------------------------------------------

TEST_F(Z80FlagsTest, ScfAfterAFlagWritingInstructionTakesBits53FromAOnly) {
    m.af.hi = 0x20;
    Load(0x8000, {0xFE, 0x08, 0x37}); // CP 0x08 (leaves bit 3 set from the operand); SCF
    m.pc = 0x8000;
    Step();
    ASSERT_EQ(F() & 0x28, 0x08);
    ASSERT_EQ(m.q, 1);
    Step();
    EXPECT_EQ(F() & 0x28, 0x20) << "q = 1: bits 5 and 3 are A's";
    EXPECT_EQ(F() & 0x13, 0x01) << "C set, H and N clear";
    EXPECT_EQ(m.q, 1);
}

TEST_F(Z80FlagsTest, ScfAfterAnInstructionWithoutFlagsOrsAAndOldF) {
    m.af.hi = 0x20;
    m.af.lo = 0x08;
    Load(0x8000, {0x41, 0x37}); // LD B,C; SCF
    m.pc = 0x8000;
    Step();
    ASSERT_EQ(m.q, 0);
    Step();
    EXPECT_EQ(F() & 0x28, 0x28) << "q = 0: bits 5 and 3 are A's ORed with the old F's";
}

TEST_F(Z80FlagsTest, CcfMovesTheOldCarryToHalfCarryAndFollowsQ) {
    m.af.hi = 0x00;
    m.af.lo = 0xFF;
    m.q = 0;
    Exec({0x3F}); // CCF with C set, previous instruction wrote no flags
    EXPECT_EQ(F(), 0xFC) << "S Z 5 3 P/V kept, H = old C, N and C clear";

    m.af.lo = 0x28;
    m.q = 1;
    Exec({0x3F}); // CCF with C clear right after a flag-writing instruction
    EXPECT_EQ(F(), 0x01) << "bits 5 and 3 from A (0), C set";
}

TEST_F(Z80FlagsTest, QLatchFollowsWhetherTheInstructionComputedFlags) {
    m.q = 0;
    Exec({0xAF}); // XOR A
    EXPECT_EQ(m.q, 1);
    Exec({0x00}); // NOP
    EXPECT_EQ(m.q, 0);
    Exec({0xCB, 0xC0}); // SET 0,B: no flags
    EXPECT_EQ(m.q, 0);
    Exec({0x03}); // INC BC: no flags
    EXPECT_EQ(m.q, 0);
    m.sp = 0x9000;
    Exec({0xF1}); // POP AF loads F as a register, not as a result
    EXPECT_EQ(m.q, 0);
    Exec({0xCB, 0x40}); // BIT 0,B
    EXPECT_EQ(m.q, 1);
}

// --- arithmetic bits 3 and 5 ---------------------------------------------------------

TEST_F(Z80FlagsTest, CpTakesBits53FromTheOperandWhileSubTakesThemFromTheResult) {
    m.af.hi = 0x00;
    Exec({0xFE, 0x28}); // CP 0x28
    EXPECT_EQ(A(), 0x00);
    EXPECT_EQ(F(), 0xBB) << "S H 5 3 N C; bits 5 and 3 from 0x28";

    m.af.hi = 0x00;
    Exec({0xD6, 0x28}); // SUB 0x28 -> 0xD8
    EXPECT_EQ(A(), 0xD8);
    EXPECT_EQ(F(), 0x9B) << "S H 3 N C; bit 3 set and bit 5 clear, as in 0xD8";
}

TEST_F(Z80FlagsTest, AddAndSubSetOverflowAndHalfCarryFromTheTables) {
    m.af.hi = 0x7F;
    Exec({0xC6, 0x01}); // ADD A,1 -> 0x80
    EXPECT_EQ(F(), 0x94) << "S H V";
    m.af.hi = 0x80;
    Exec({0xD6, 0x01}); // SUB 1 -> 0x7F
    EXPECT_EQ(F(), 0x3E) << "5 H 3 V N";
    m.af.hi = 0xFF;
    m.af.lo = 0x01;
    Exec({0xCE, 0x00}); // ADC A,0 with carry -> 0x00
    EXPECT_EQ(A(), 0x00);
    EXPECT_EQ(F(), 0x51) << "Z H C";
}

TEST_F(Z80FlagsTest, IncAndDecKeepCarryAndFlagTheSignBoundary) {
    m.bc.hi = 0x7F;
    m.af.lo = 0x01;
    Exec({0x04}); // INC B -> 0x80
    EXPECT_EQ(F(), 0x95) << "S H V, C kept";
    Exec({0x05}); // DEC B -> 0x7F
    EXPECT_EQ(F(), 0x3F) << "5 H 3 V N, C kept";
}

TEST_F(Z80FlagsTest, AddHlKeepsSzpvAndTakesBits53FromTheHighByte) {
    m.hl.w = 0x0FFF;
    m.bc.w = 0x2801;
    m.af.lo = 0xC4;
    EXPECT_EQ(Exec({0x09}), 11u); // ADD HL,BC -> 0x3800
    EXPECT_EQ(m.hl.w, 0x3800);
    EXPECT_EQ(F(), 0xC4 | 0x10 | 0x28);
}

TEST_F(Z80FlagsTest, SbcHlSetsZeroFromAllSixteenBits) {
    m.hl.w = 0x1000;
    m.de.w = 0x0FFF;
    m.af.lo = 0x01;
    EXPECT_EQ(Exec({0xED, 0x52}), 15u); // SBC HL,DE
    EXPECT_EQ(m.hl.w, 0x0000);
    EXPECT_EQ(F(), 0x52) << "Z H N: the low twelve bits borrowed";
}

// --- DAA -------------------------------------------------------------------------------

TEST_F(Z80FlagsTest, DaaAfterAdditionCarriesOutOfTheHundreds) {
    m.af.hi = 0x99;
    Exec({0xC6, 0x01}); // ADD A,1 -> 0x9A
    Exec({0x27});       // DAA
    EXPECT_EQ(A(), 0x00);
    EXPECT_EQ(F(), 0x55) << "Z H P C";
}

TEST_F(Z80FlagsTest, DaaAfterSubtractionCorrectsDownwards) {
    m.af.hi = 0x10;
    Exec({0xD6, 0x01}); // SUB 1 -> 0x0F with H and N
    Exec({0x27});       // DAA
    EXPECT_EQ(A(), 0x09);
    EXPECT_EQ(F(), 0x0E) << "3 P N; no borrow left";
}

// --- BIT -----------------------------------------------------------------------------

TEST_F(Z80FlagsTest, BitOfMemoryTakesBits53FromMemptrNotFromTheByte) {
    m.hl.w = 0x9000;
    bus.mem[0x9000] = 0x09; // bits 0 and 3 set
    Load(0x8000, {0x3A, 0x00, 0x20, 0xCB, 0x46}); // LD A,(0x2000); BIT 0,(HL)
    m.pc = 0x8000;
    Step();
    ASSERT_EQ(m.memptr, 0x2001);
    EXPECT_EQ(Step(), 12u);
    EXPECT_EQ(F() & 0x28, 0x20) << "bit 13 of memptr set, bit 11 clear";
    EXPECT_EQ(F() & 0x44, 0x00) << "bit 0 is set: Z and P/V clear";
}

TEST_F(Z80FlagsTest, BitOfARegisterTakesBits53FromTheRegister) {
    m.bc.hi = 0x28;
    m.af.lo = 0x01;
    EXPECT_EQ(Exec({0xCB, 0x78}), 8u); // BIT 7,B: bit clear
    EXPECT_EQ(F(), 0x01 | 0x10 | 0x44 | 0x28);
    m.bc.hi = 0x80;
    Exec({0xCB, 0x78}); // BIT 7,B: bit set
    EXPECT_EQ(F(), 0x01 | 0x10 | 0x80);
}

// --- R -------------------------------------------------------------------------------

TEST_F(Z80FlagsTest, LdARReturnsBit7AsWrittenAndTheLowBitsCounting) {
    m.af.hi = 0x80;
    Load(0x8000, {0xED, 0x4F, 0x00, 0x00, 0xED, 0x5F}); // LD R,A; NOP; NOP; LD A,R
    m.pc = 0x8000;
    Run(4);
    EXPECT_EQ(A(), 0x84) << "two NOPs and the two M1s of LD A,R";
    EXPECT_EQ(m.r, 0x84);

    m.af.hi = 0x7F;
    m.iff2 = 1;
    Load(0x8000, {0xED, 0x4F, 0x00, 0xED, 0x5F});
    m.pc = 0x8000;
    Run(3);
    EXPECT_EQ(m.r, 0x82) << "the stored byte counts through bit 7";
    EXPECT_EQ(A(), 0x02) << "but LD A,R shows bit 7 as LD R,A left it";
    EXPECT_EQ(F() & 0x04, 0x04) << "P/V from IFF2";
}

TEST_F(Z80FlagsTest, RCountsOncePerOpcodeFetchAsAWholeByte) {
    m.r = 0xFF;
    Exec({0x00});
    EXPECT_EQ(m.r, 0x00);
    Exec({0xCB, 0x00}); // RLC B: two M1s
    EXPECT_EQ(m.r, 0x02);
    Exec({0xDD, 0xCB, 0x01, 0x06}); // RLC (IX+1): the displacement and op bytes are no M1s
    EXPECT_EQ(m.r, 0x04);
}

// --- block instruction flags -----------------------------------------------------------

TEST_F(Z80FlagsTest, LdiTakesBits53FromByteplusA) {
    m.hl.w = 0x9000;
    m.de.w = 0xA000;
    m.bc.w = 0x0002;
    m.af.hi = 0x10;
    m.af.lo = 0xFF;
    bus.mem[0x9000] = 0x12; // 0x12 + 0x10 = 0x22: bit 1 -> flag 5, bit 3 clear
    EXPECT_EQ(Exec({0xED, 0xA0}), 16u);
    EXPECT_EQ(bus.mem[0xA000], 0x12);
    EXPECT_EQ(F(), 0xC1 | 0x04 | 0x20);
}

TEST_F(Z80FlagsTest, CpiStepsMemptrAndTakesBits53AfterTheHalfBorrow) {
    m.hl.w = 0x9000;
    m.bc.w = 0x0001;
    m.af.hi = 0x10;
    m.memptr = 0x4000;
    bus.mem[0x9000] = 0x01; // 0x10 - 0x01 = 0x0F with half borrow; 0x0E has bits 1, 3
    Exec({0xED, 0xA1});
    EXPECT_EQ(m.memptr, 0x4001);
    EXPECT_EQ(F(), 0x02 | 0x10 | 0x08 | 0x20) << "N H 3 5; BC now 0 so P/V clear";
}

} // namespace
