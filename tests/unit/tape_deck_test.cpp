#include <cstring>

#include "base/messages.h"
#include "machine/memory.h"
#include "machine/reset.h"
#include "machine/rom.h"
#include "tape/spool.h"
#include "tape/tap_format.h"
#include "tape/tape_deck.h"
#include "tape_test_support.h"

namespace {

class TapeDeckTest : public TapeTest {
  protected:
    // A ROM file of recognisable bytes with the Ace's own bytes at both trap addresses.
    Bytes MakeRomFile(const std::string& path) {
        Bytes rom(kRomSize);
        for (size_t k = 0; k < rom.size(); ++k)
            rom[k] = uint8_t(k * 7 + (k >> 8));
        const uint8_t load[] = {0xF3, 0xFD, 0xE5}, save[] = {0xFD, 0xE5, 0xE5};
        std::memcpy(&rom[kLoadTrapAddress], load, 3);
        std::memcpy(&rom[kSaveTrapAddress], save, 3);
        WriteFile(path, rom);
        return rom;
    }
    Bytes LiveRom() const { return Bytes(machine.pages[0], machine.pages[0] + kRomSize); }

    std::vector<TapeBlock> Blocks(std::initializer_list<Bytes> blocks) {
        Bytes file;
        for (const Bytes& b : blocks) {
            const Bytes block = TapBlock(b);
            file.insert(file.end(), block.begin(), block.end());
        }
        return ParseTapBlocks(file).blocks;
    }

    // The ROM's request: the name it was asked to LOAD, in its header buffer.
    void RequestName(const std::string& name) {
        for (int k = 0; k < 10; ++k)
            machine.ram[kHeaderNameOffset + k] = k < int(name.size()) ? name[k] : ' ';
    }
    std::string NameAt(uint16_t address) {
        std::string s;
        for (int k = 0; k < 10; ++k)
            s += char(ReadMemory(uint16_t(address + k)));
        return s;
    }
};

TEST_F(TapeDeckTest, EjectGivesBackTheRomFileByteForByte) {
    const std::string path = ScratchFolder() + "test.rom";
    const Bytes file = MakeRomFile(path);
    ASSERT_FALSE(LoadRomFile(path, "TEST.ROM"));
    InsertTapImage(Blocks({AceHeader(0, "X", 1, 0x3C51), Bytes{1}}), "x");
    const Bytes withTrap = LiveRom();
    EXPECT_EQ(Bytes(withTrap.begin() + kLoadTrapAddress, withTrap.begin() + kLoadTrapAddress + 3),
              (Bytes{0xED, 0xFC, 0xC9}));
    EjectTape();
    Bytes expected = file;
    expected[kSaveTrapAddress] = 0xED, expected[kSaveTrapAddress + 1] = 0xFD,
    expected[kSaveTrapAddress + 2] = 0xC9;
    EXPECT_EQ(LiveRom(), expected) << "only the save trap stays planted";
    RemoveSaveTrap();
    EXPECT_EQ(LiveRom(), file);
}

TEST_F(TapeDeckTest, EjectRestoresTheRealRom) {
    REQUIRE_TEST_ROM();
    ASSERT_TRUE(BootTestRom());
    const Bytes file = ReadFile(TestRomPath());
    ASSERT_EQ(file.size(), kRomSize);
    EXPECT_EQ(Bytes(file.begin() + kLoadTrapAddress, file.begin() + kLoadTrapAddress + 3),
              (Bytes{0xF3, 0xFD, 0xE5}));
    InsertTapImage(Blocks({AceHeader(0, "X", 1, 0x3C51), Bytes{1}}), "x");
    InsertTapImage(Blocks({AceHeader(0, "Y", 1, 0x3C51), Bytes{2}}), "y"); // replacing keeps the trap
    EXPECT_EQ(machine.pages[0][kLoadTrapAddress + 1], 0xFC);
    ResetMachine(); // ejects
    RemoveSaveTrap();
    EXPECT_EQ(LiveRom(), file);
}

TEST_F(TapeDeckTest, HeaderLandsWithTheRequestedNameAndDataFollows) {
    InsertTapImage(Blocks({AceHeader(0, "TUT", 4, 0x3C51), Bytes{0x11, 0x22, 0x33, 0x44}}), "tut");
    RequestName("TUTTUTXYZ");
    machine.hl.w = 0x231A; // where the ROM reads a header: through the video-RAM mirror
    machine.af.w = 0xFF00;
    ASSERT_TRUE(TapeLoadTrap());
    EXPECT_EQ(NameAt(0x231B), "TUTTUTXYZ ") << "the ROM accepts the header whatever name it asked for";
    EXPECT_EQ(machine.ram[0x271A], 0x00) << "the type byte, written through the mirror";
    EXPECT_EQ(ReadMemory(0x231A + 11), 4) << "the length field of the header";
    EXPECT_FALSE(expectHeader);
    EXPECT_EQ(machine.af.lo, 0x01 | 0x28) << "carry set, bits 3 and 5 from A";

    machine.hl.w = 0x3C51;
    ASSERT_TRUE(TapeLoadTrap());
    EXPECT_EQ(Bytes(machine.ram + 0x3C51, machine.ram + 0x3C55), (Bytes{0x11, 0x22, 0x33, 0x44}));
    EXPECT_EQ(machine.ram[0x3C55], 0x00) << "the checksum byte is not copied";
    EXPECT_TRUE(expectHeader);
}

TEST_F(TapeDeckTest, TapeNameReplacesTheRequestUpToItsFirstSpace) {
    InsertTapImage(Blocks({AceHeader(0, "MAZE", 1, 0x3C51), Bytes{9}}), "maze");
    RequestName("AB");
    machine.hl.w = 0x231A;
    TapeLoadTrap();
    EXPECT_EQ(std::string(reinterpret_cast<char*>(machine.ram + kHeaderNameOffset), 10), "MAZE      ");
}

TEST_F(TapeDeckTest, NameStartingWithASpaceLeavesTheRequest) {
    InsertTapImage(Blocks({AceHeader(0, " ODD", 1, 0x3C51), Bytes{9}}), "odd");
    RequestName("WANTED");
    machine.hl.w = 0x231A;
    TapeLoadTrap();
    EXPECT_EQ(std::string(reinterpret_cast<char*>(machine.ram + kHeaderNameOffset), 10), "WANTED    ");
    EXPECT_EQ(NameAt(0x231B), "WANTED    ");
}

TEST_F(TapeDeckTest, OneBlockTapeAlternatesHeaderAndData) {
    InsertTapImage(Blocks({Bytes{0x20, 'O', 'N', 'E'}}), "one");
    machine.hl.w = 0x3C80;
    for (int n = 0; n < 4; ++n) {
        EXPECT_EQ(expectHeader, n % 2 == 0);
        TapeLoadTrap();
        EXPECT_EQ(currentBlock, tapeInDeck->first()) << "the last block stays current";
    }
    EXPECT_EQ(machine.ram[0x3C80], 0x20);
}

TEST_F(TapeDeckTest, WithoutTapeTheTrapDoesNothing) {
    machine.af.w = 0x1234;
    EXPECT_FALSE(TapeLoadTrap());
    EXPECT_EQ(machine.af.w, 0x1234);
}

TEST_F(TapeDeckTest, EmptyTapeLoadsNothingAndRewindsNowhere) {
    InsertTapImage({}, "empty");
    EXPECT_TRUE(TapeInDeck());
    EXPECT_EQ(currentBlock, nullptr);
    opt_autorewind = true;
    const Bytes before(machine.ram, machine.ram + 0x10000);
    EXPECT_TRUE(TapeLoadTrap());
    EXPECT_EQ(Bytes(machine.ram, machine.ram + 0x10000), before);
    EXPECT_EQ(machine.af.lo & 0x01, 0x01);
}

TEST_F(TapeDeckTest, DegenerateBlocksStayInsideMemory) {
    // Blocks of length 0 and 1 (no name, no data), and a block that runs off the top of
    // memory: nothing is read outside the block or written outside the image.
    Bytes big(3000, 0xAB);
    InsertTapImage(Blocks({}), "none");
    std::vector<TapeBlock> blocks = ParseTapBlocks(Bytes{0x00, 0x00, 0x01, 0x00, 0x20}).blocks;
    auto more = Blocks({big});
    blocks.push_back(std::move(more.front()));
    InsertTapImage(std::move(blocks), "odd");
    machine.model = 3, machine.topPage = 7, machine.ramTop = 0xFFFF;
    for (uint16_t hl : {uint16_t(0x231A), uint16_t(0xFFFF), uint16_t(0xFFF8)}) {
        machine.hl.w = hl;
        TapeLoadTrap();
    }
    EXPECT_EQ(machine.ram[0xFFFF], 0xAB) << "the big block wrapped round to ROM, which ignores writes";
}

TEST_F(TapeDeckTest, AutoloadTextsForTheThreeTapeTypes) {
    opt_tape_type = 0;
    EXPECT_EQ(AutoloadText("maze"), "load\r");
    opt_tape_type = 1;
    EXPECT_EQ(AutoloadText("maze"), "0 0 bload maze\r");
    opt_tape_type = 2;
    EXPECT_EQ(AutoloadText("maze"), "0 0 bload maze\r20000 call\r");
}

TEST_F(TapeDeckTest, InsertingWithAutoloadStartsTheSpool) {
    opt_autoload = true;
    opt_tape_type = 2;
    InsertTapImage(Blocks({AceHeader(0x20, "mc", 2, 20000), Bytes{0xC9, 0}}), "mc");
    EXPECT_TRUE(spoolActive);
    EXPECT_EQ(spoolLeft, int(AutoloadText("mc").size()));
    ClearSpool();
    opt_autoload = false;
    InsertTapImage(Blocks({AceHeader(0x20, "mc", 2, 20000), Bytes{0xC9, 0}}), "mc");
    EXPECT_EQ(spoolLeft, 0);
}

} // namespace
