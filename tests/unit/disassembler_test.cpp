// The disassembler: the text of every instruction family in both number bases, the
// labels, the ends of memory, scrolling by instructions, and the rule everything else
// relies on: each line is exactly as long as the processor takes the instruction to be.
#include <algorithm>
#include <cstdio>
#include <initializer_list>
#include <set>
#include <vector>

#include "debugger/disassembler.h"
#include "machine/machine_state.h"
#include "test_support.h"
#include "z80_test_bus.h"

namespace {

// Places bytes in the RAM block through the page table, where the disassembler reads.
void Poke(uint32_t at, std::initializer_list<uint8_t> bytes) {
    for (uint8_t b : bytes) {
        machine.pages[at >> 13][at & 0x1FFF] = b;
        ++at;
    }
}

class DisassemblerTest : public MachineTest {
  protected:
    void SetUp() override {
        MachineTest::SetUp();
        machine.ramTop = 0xFFFF;
        disassembler.numberBase = 16;
        opt_dis_sv = opt_dis_rom = 0;
        disassembler.exportSystemVariables = false;
    }
    void TearDown() override {
        disassembler.numberBase = 16;
        opt_dis_sv = opt_dis_rom = 0;
        MachineTest::TearDown();
    }
    std::string Line(uint32_t at, std::initializer_list<uint8_t> bytes) {
        Poke(at, bytes);
        disassembleLine(at);
        return disassembler.lineText;
    }
};

struct TextCase {
    std::vector<uint8_t> bytes;
    const char* hex;     // the whole line at 0x4000, hexadecimal base
    const char* decimal; // the mnemonic column in decimal base ("" = not checked)
};

TEST_F(DisassemblerTest, EveryFamilyInBothBases) {
    const TextCase cases[] = {
        {{0x00}, "4000  00       NOP", ""},
        {{0x01, 0x34, 0x12}, "4000  013412   LD    BC,#1234", "LD    BC,4660"},
        {{0x08}, "4000  08       EX    AF,AF'", ""},
        {{0x18, 0xFE}, "4000  18FE     JR    #4000", "JR    16384"},
        {{0x10, 0x34}, "4000  1034     DJNZ  #4036", "DJNZ  16438"},
        {{0x38, 0x02}, "4000  3802     JR    C,#4004", ""},
        {{0x22, 0x18, 0x3C}, "4000  22183C   LD    (#3C18),HL", "LD    (15384),HL"},
        {{0x3A, 0x00, 0x3C}, "4000  3A003C   LD    A,(#3C00)", ""},
        {{0x36, 0xAB}, "4000  36AB     LD    (HL),#AB", "LD    (HL),171"},
        {{0x76}, "4000  76       HALT", ""},
        {{0x9E}, "4000  9E       SBC   A,(HL)", ""},
        {{0xA8}, "4000  A8       XOR   B", ""},
        {{0xFE, 0x0D}, "4000  FE0D     CP    #0D", "CP    13"},
        {{0xC6, 0x01}, "4000  C601     ADD   A,#01", ""},
        {{0xC0}, "4000  C0       RET   NZ", ""},
        {{0xF1}, "4000  F1       POP   AF", ""},
        {{0xE9}, "4000  E9       JP    (HL)", ""},
        {{0xFA, 0x00, 0x80}, "4000  FA0080   JP    M,#8000", ""},
        {{0xD3, 0xFE}, "4000  D3FE     OUT   (#FE),A", "OUT   (254),A"},
        {{0xDB, 0xFE}, "4000  DBFE     IN    A,(#FE)", ""},
        {{0xCC, 0x10, 0x00}, "4000  CC1000   CALL  Z,#0010", ""},
        {{0xFF}, "4000  FF       RST   #38", "RST   56"},
        {{0xCB, 0x36}, "4000  CB36     SLL   (HL)", ""},
        {{0xCB, 0x7E}, "4000  CB7E     BIT   7,(HL)", ""},
        {{0xCB, 0xC7}, "4000  CBC7     SET   0,A", ""},
        // ED: the undocumented forms as the processor executes them
        {{0xED, 0x70}, "4000  ED70     IN    F,(C)", ""},
        {{0xED, 0x71}, "4000  ED71     OUT   (C),0", ""},
        {{0xED, 0x78}, "4000  ED78     IN    A,(C)", ""},
        {{0xED, 0x4E}, "4000  ED4E     IM    0", ""},
        {{0xED, 0x66}, "4000  ED66     IM    0", ""},
        {{0xED, 0x6E}, "4000  ED6E     IM    0", ""},
        {{0xED, 0x76}, "4000  ED76     IM    1", ""},
        {{0xED, 0x7E}, "4000  ED7E     IM    2", ""},
        {{0xED, 0x54}, "4000  ED54     NEG", ""},
        {{0xED, 0x5D}, "4000  ED5D     RETI", ""},
        {{0xED, 0x55}, "4000  ED55     RETN", ""},
        {{0xED, 0x5F}, "4000  ED5F     LD    A,R", ""},
        {{0xED, 0x43, 0x00, 0x80}, "4000  ED430080 LD    (#8000),BC", "LD    (32768),BC"},
        {{0xED, 0x7B, 0x00, 0x80}, "4000  ED7B0080 LD    SP,(#8000)", ""},
        {{0xED, 0x6A}, "4000  ED6A     ADC   HL,HL", ""},
        {{0xED, 0xB0}, "4000  EDB0     LDIR", ""},
        {{0xED, 0xB3}, "4000  EDB3     OUTIR", ""},
        {{0xED, 0xBB}, "4000  EDBB     OUTDR", ""},
        {{0xED, 0x80}, "4000  ED80     LD*", ""},
        {{0xED, 0xA4}, "4000  EDA4     *I", ""},
        {{0xED, 0x00}, "4000  ED00     *", ""},
        {{0xED, 0xCB}, "4000  EDCB     *", ""},
        {{0xED, 0xFC}, "4000  EDFC     TRAP  LOAD", ""},
        // index registers
        {{0xDD, 0x21, 0x34, 0x12}, "4000  DD213412 LD    IX,#1234", ""},
        {{0xDD, 0x29}, "4000  DD29     ADD   IX,IX", ""},
        {{0xFD, 0x09}, "4000  FD09     ADD   IY,BC", ""},
        {{0xDD, 0x2A, 0x18, 0x3C}, "4000  DD2A183C LD    IX,(#3C18)", ""},
        {{0xDD, 0x36, 0x05, 0xAB}, "4000  DD3605AB LD    (IX+#05),#AB", "LD    (IX+5),171"},
        {{0xDD, 0x7E, 0x80}, "4000  DD7E80   LD    A,(IX-#80)", "LD    A,(IX-128)"},
        {{0xDD, 0x66, 0x85}, "4000  DD6685   LD    H,(IX-#7B)", ""},
        {{0xDD, 0x74, 0x85}, "4000  DD7485   LD    (IX-#7B),H", ""},
        {{0xFD, 0x34, 0x00}, "4000  FD3400   INC   (IY+#00)", ""},
        {{0xDD, 0x44}, "4000  DD44     LD    B,IXH", ""},
        {{0xDD, 0x65}, "4000  DD65     LD    IXH,IXL", ""},
        {{0xFD, 0x24}, "4000  FD24     INC   IYH", ""},
        {{0xDD, 0x2E, 0x07}, "4000  DD2E07   LD    IXL,#07", ""},
        {{0xDD, 0x84}, "4000  DD84     ADD   A,IXH", ""},
        {{0xFD, 0xBE, 0x02}, "4000  FDBE02   CP    (IY+#02)", ""},
        {{0xDD, 0xE5}, "4000  DDE5     PUSH  IX", ""},
        {{0xDD, 0xE3}, "4000  DDE3     EX    (SP),IX", ""},
        {{0xFD, 0xE9}, "4000  FDE9     JP    (IY)", ""},
        {{0xDD, 0xF9}, "4000  DDF9     LD    SP,IX", ""},
        {{0xDD, 0xCB, 0x05, 0x46}, "4000  DDCB0546 BIT   0,(IX+#05)", "BIT   0,(IX+5)"},
        {{0xDD, 0xCB, 0x05, 0x06}, "4000  DDCB0506 RLC   (IX+#05)", ""},
        {{0xDD, 0xCB, 0x05, 0x00}, "4000  DDCB0500 LD    B,RLC (IX+#05)", ""},
        {{0xFD, 0xCB, 0xFF, 0x9F}, "4000  FDCBFF9F LD    A,RES 3,(IY-#01)", ""},
        {{0xDD, 0xCB, 0x05, 0xFE}, "4000  DDCB05FE SET   7,(IX+#05)", ""},
        {{0xDD, 0xCB, 0x05, 0x41}, "4000  DDCB0541 BIT   0,(IX+#05)", ""},
        // a prefix the processor runs on its own is a line of its own
        {{0xDD, 0x80}, "4000  DD       DEFB  DD ?", ""},
        {{0xFD, 0x00}, "4000  FD00     NOP", ""},
        {{0xDD, 0x00}, "4000  DD00     NOP", ""},
        {{0xDD, 0x76}, "4000  DD76     HALT", ""},
        {{0xDD, 0xEB}, "4000  DDEB     EX    DE,HL", ""},
        {{0xFD, 0xC5}, "4000  FDC5     PUSH  BC", ""},
        {{0xDD, 0xDD, 0x21, 0x34, 0x12}, "4000  DD213412 LD    IX,#1234", ""},
        {{0xDD, 0xFD, 0x21, 0x34, 0x12}, "4000  FD213412 LD    IY,#1234", ""},
        {{0xFD, 0xDD, 0x80}, "4000  FD       DEFB  FD ?", ""},
        {{0xDD, 0xED, 0x4F}, "4000  DDED4F   LD    R,A", ""},
    };
    for (const TextCase& c : cases) {
        for (uint32_t k = 0; k < c.bytes.size(); ++k)
            Poke(0x4000 + k, {c.bytes[k]});
        disassembler.numberBase = 16;
        EXPECT_EQ(disassembleLine(0x4000), 0x4000u);
        EXPECT_EQ(disassembler.lineText, c.hex);
        disassembler.numberBase = 10;
        disassembleLine(0x4000);
        if (*c.decimal) {
            EXPECT_EQ(disassembler.lineText.substr(15), c.decimal) << c.hex;
        } else if (std::string(c.hex).find('#') == std::string::npos) {
            EXPECT_EQ(disassembler.lineText, c.hex);
        }
    }
}

TEST_F(DisassemblerTest, RelativeTargetsWrapAtSixtyFourK) {
    EXPECT_EQ(Line(0x0010, {0x18, 0x80}), "0010  1880     JR    #FF92");
    machine.ramTop = 0x3FFF; // a 3K machine: still the 64 KB address
    EXPECT_EQ(Line(0x0010, {0x18, 0x80}), "0010  1880     JR    #FF92");
    machine.ramTop = 0xFFFF;
    EXPECT_EQ(Line(0xFFF0, {0x18, 0x7F}), "FFF0  187F     JR    #0071");
}

TEST_F(DisassemblerTest, LabelsReplaceExactAddressesInHexadecimalOnly) {
    Poke(0x4000,
         {0x2A, 0x18, 0x3C, 0xCD, 0x00, 0x3C, 0xDD, 0x21, 0x18, 0x3C, 0x21, 0x19, 0x3C, 0xCD, 0x36, 0x03});
    opt_dis_sv = 1;
    EXPECT_EQ(InstructionText(0x4000), "LD    HL,(RAMTOP)");
    EXPECT_EQ(InstructionText(0x4003), "CALL  FP_WS");
    EXPECT_EQ(InstructionText(0x4006), "LD    IX,RAMTOP");
    EXPECT_EQ(InstructionText(0x400A), "LD    HL,#3C19");
    EXPECT_EQ(InstructionText(0x400D), "CALL  #0336") << "ROM labels are a separate option";
    opt_dis_rom = 1;
    EXPECT_EQ(InstructionText(0x400D), "CALL  KEYSCAN");
    disassembler.numberBase = 10;
    EXPECT_EQ(InstructionText(0x4000), "LD    HL,(15384)");
    EXPECT_EQ(InstructionText(0x400D), "CALL  822");
    disassembler.numberBase = 16;
    opt_dis_sv = 0;
    disassembler.exportSystemVariables = true; // Disassemble to File's own box
    EXPECT_EQ(InstructionText(0x4000), "LD    HL,(RAMTOP)");
    disassembler.exportSystemVariables = false;
}

TEST_F(DisassemblerTest, TheTopOfMemoryEndsTheListing) {
    Poke(0xFFFF, {0x21});
    EXPECT_EQ(Line(0xFFFF, {0x21}), "FFFF  210000   LD    HL,#0000");
    EXPECT_EQ(disassembler.disAddr, 0x10000u);

    machine.ramTop = 0x3FFF;
    Line(0x3FFE, {0x00});
    EXPECT_EQ(disassembleLine(0x4000), 0x4000u) << "above ramTop: ramTop + 1";
    EXPECT_EQ(disassembler.lineText, "") << "an empty line, never the previous line's text";
    EXPECT_EQ(moveByInstructions(0x3FFE, 5), 0x4000u);
}

TEST_F(DisassemblerTest, MovesByWholeInstructionsBothWays) {
    Poke(0x5000, {0x00, 0x21, 0x34, 0x12, 0xDD, 0xCB, 0x05, 0x46, 0x3E, 0x20, 0x00});
    EXPECT_EQ(moveByInstructions(0x5000, 3), 0x5008u);
    EXPECT_EQ(moveByInstructions(0x5008, -1), 0x5004u) << "the 4-byte instruction wins over its tail";
    EXPECT_EQ(moveByInstructions(0x500A, -2), 0x5004u);
    EXPECT_EQ(moveByInstructions(0x5008, 0), 0x5008u);
    Poke(0x0000, {0x00, 0x00, 0x00, 0x00, 0x00});
    EXPECT_EQ(moveByInstructions(0x0003, -8), 0x0000u) << "no step below address 0";
    EXPECT_EQ(moveByInstructions(0x0000, -1), 0x0000u);
}

// --- lengths agree with the processor --------------------------------------------------

// Runs one instruction on the core and reports how many bytes it took from `start`:
// where pc ends when it simply moves on, else the furthest instruction byte it read.
class LengthBus : public Z80TestBus {
  public:
    uint16_t start = 0x8000;
    int furthest = 0;
    uint8_t Fetch(uint16_t a) {
        Note(a);
        return mem[a];
    }
    uint8_t Read(uint16_t a) {
        Note(a);
        return mem[a];
    }

  private:
    void Note(uint16_t a) {
        const int offset = uint16_t(a - start);
        if (offset < 8) furthest = std::max(furthest, offset + 1);
    }
};

uint32_t CoreLength(const std::vector<uint8_t>& bytes) {
    static LengthBus bus; // 64 KB: keep it off the stack
    std::fill(std::begin(bus.mem), std::end(bus.mem), 0);
    for (size_t k = 0; k < bytes.size(); ++k)
        bus.mem[bus.start + k] = bytes[k];
    bus.furthest = 0;
    MachineState m;
    m.pc = bus.start;
    m.sp = m.hl.w = m.ix.w = m.iy.w = m.bc.w = m.de.w = 0x1000; // data far from the code
    m.bc.hi = 1;                                                // DJNZ falls through
    m.tstates = 1000;
    // A prefix that does nothing is a step of its own; the instruction ends with the
    // step that follows the last prefix.
    for (int step = 0; step < 8; ++step) {
        Z80Step(m, bus);
        if (!m.prefixDelay) break;
    }
    const int moved = uint16_t(m.pc + (m.halted ? 1 : 0) - bus.start); // HALT waits on itself
    if (moved >= 1 && moved <= 8) return uint32_t(moved);
    return uint32_t(bus.furthest);
}

TEST_F(DisassemblerTest, EveryInstructionIsAsLongAsTheProcessorTakesIt) {
    BuildFlagTables();
    std::vector<std::vector<uint8_t>> opcodes;
    for (int op = 0; op < 256; ++op) {
        opcodes.push_back({uint8_t(op), 0, 0, 0});
        opcodes.push_back({0xCB, uint8_t(op), 0, 0});
        opcodes.push_back({0xED, uint8_t(op), 0, 0});
        for (uint8_t prefix : {0xDD, 0xFD}) {
            opcodes.push_back({prefix, uint8_t(op), 0, 0});
            opcodes.push_back({prefix, 0xCB, 0x05, uint8_t(op)});
            opcodes.push_back({prefix, 0xDD, uint8_t(op), 0, 0});
            opcodes.push_back({0xFD, prefix, uint8_t(op), 0, 0});
        }
    }
    int checked = 0;
    for (const std::vector<uint8_t>& bytes : opcodes) {
        for (uint32_t k = 0; k < bytes.size(); ++k)
            Poke(0x8000 + k, {bytes[k]});
        const uint32_t core = CoreLength(bytes);
        // The lines from 8000 end exactly where the core's instruction ends: one line, or
        // a "DEFB  DD ?" line for each prefix the accumulator group leaves alone.
        uint32_t address = 0x8000;
        int lines = 0;
        while (address < 0x8000 + core && lines < 8) {
            disassembleLine(address);
            EXPECT_EQ(instructionLength(address), disassembler.disAddr - address);
            if (disassembler.disAddr - address == 1 && (bytes[0] == 0xDD || bytes[0] == 0xFD) && core > 1 &&
                lines == 0) {
                EXPECT_EQ(disassembler.lineText.substr(15, 4), "DEFB") << disassembler.lineText;
            }
            address = disassembler.disAddr;
            ++lines;
        }
        EXPECT_EQ(address, 0x8000 + core) << std::hex << int(bytes[0]) << " " << int(bytes[1]) << " "
                                          << int(bytes[2]) << " " << int(bytes[3]);
        ++checked;
    }
    EXPECT_EQ(checked, 256 * 11);
}

TEST_F(DisassemblerTest, TheRomListsOnceFromStartToEnd) {
    if (!BootTestRom()) GTEST_SKIP() << "NOLTACE_TEST_ROM does not name a readable ace.rom";
    std::set<std::string> seen;
    uint32_t address = 0, lines = 0;
    while (address < 0x2000) {
        EXPECT_EQ(disassembleLine(address), address);
        ASSERT_FALSE(disassembler.lineText.empty());
        ASSERT_GT(disassembler.disAddr, address);
        char digits[8];
        std::snprintf(digits, sizeof digits, "%04X", address);
        EXPECT_EQ(disassembler.lineText.substr(0, 4), digits);
        EXPECT_TRUE(seen.insert(disassembler.lineText).second) << "repeated: " << disassembler.lineText;
        address = disassembler.disAddr;
        ++lines;
    }
    EXPECT_LE(address, 0x2003u);
    EXPECT_GT(lines, 4000u);
    disassembleLine(0x0000);
    EXPECT_EQ(disassembler.lineText, "0000  F3       DI");
    opt_dis_sv = 1;
    disassembleLine(0x0010);
    EXPECT_EQ(disassembler.lineText, "0010  2A3B3C   LD    HL,(SPARE)");
}

} // namespace
