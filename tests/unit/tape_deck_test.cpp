#include <cstring>

#include "base/messages.h"
#include "machine/memory.h"
#include "machine/reset.h"
#include "machine/rom.h"
#include "tape/spool.h"
#include "tape/tap_format.h"
#include "tape/tape_deck.h"
#include "tape/tape_header.h"
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
    // The ROM's two kinds of read: a header into its buffer through the video-RAM mirror,
    // or `length` bytes of data at `address`.
    static void RequestHeader() {
        machine.hl.w = 0x231A;
        machine.de.w = 25;
    }
    static void RequestData(uint16_t address, uint16_t length) {
        machine.hl.w = address;
        machine.de.w = length;
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
    ASSERT_EQ(LoadRomFile(path, "TEST.ROM"), LoadResult::Loaded);
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

TEST_F(TapeDeckTest, HeaderLandsAsTheTapeHoldsItAndDataFollowsCutToTheRequest) {
    InsertTapImage(Blocks({AceHeader(0, "TUT", 4, 0x3C51), Bytes{0x11, 0x22, 0x33, 0x44}}), "tut");
    RequestName("TUTTUTXYZ");
    RequestHeader();
    machine.af.w = 0xFF00;
    ASSERT_TRUE(TapeLoadTrap());
    EXPECT_EQ(NameAt(0x231B), "TUT       ") << "the tape's own name: the ROM compares it";
    EXPECT_EQ(std::string(reinterpret_cast<char*>(machine.ram + kHeaderNameOffset), 10), "TUTTUTXYZ ")
        << "the request is left as the ROM wrote it";
    EXPECT_EQ(machine.ram[0x271A], 0x00) << "the type byte, written through the mirror";
    EXPECT_EQ(ReadMemory(0x231A + 11), 4) << "the length field of the header";
    EXPECT_EQ(tapeDeck.currentBlock, &tapeDeck.tapeInDeck->blocks[1]) << "the data block is next";
    EXPECT_EQ(machine.af.lo, 0x01 | 0x28) << "carry set, bits 3 and 5 from A";

    machine.ram[0x3C54] = 0x99;
    RequestData(0x3C51, 3);
    ASSERT_TRUE(TapeLoadTrap());
    EXPECT_EQ(Bytes(machine.ram + 0x3C51, machine.ram + 0x3C55), (Bytes{0x11, 0x22, 0x33, 0x99}))
        << "no more than the ROM asked for";
    EXPECT_EQ(tapeDeck.currentBlock, nullptr);
    EXPECT_TRUE(tapeDeck.tapeAtEnd);
}

// Past the end of the tape (or on an empty one) nothing is copied: the trap hands over to
// the ROM's own reader, which listens to a silent tape until BREAK.
TEST_F(TapeDeckTest, PastTheEndTheRomListensAndOnlyItsStackMoves) {
    const struct {
        const char* what;
        std::vector<Bytes> blocks;
        int deliveries; // requests answered before the end
    } cases[] = {
        {"empty tape", {}, 0},
        {"one file", {AceHeader(0, "ONE", 1, 0x3C51), Bytes{7}}, 2},
        {"a lone data block", {Bytes{0x20, 'O', 'N', 'E'}}, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<TapeBlock> blocks;
        for (const Bytes& b : c.blocks) {
            auto one = Blocks({b});
            blocks.push_back(std::move(one.front()));
        }
        InsertTapImage(std::move(blocks), "t");
        for (int n = 0; n < c.deliveries; ++n) {
            n == 0 && c.blocks.size() > 1 ? RequestHeader() : RequestData(0x3C51, 1);
            EXPECT_TRUE(TapeLoadTrap());
        }
        for (bool header : {true, false}) {
            header ? RequestHeader() : RequestData(0x3C51, 500);
            machine.pc = kLoadTrapAddress + 2;
            machine.sp = 0x4000;
            machine.iy.w = 0x1234;
            machine.iff1 = machine.iff2 = 1;
            const Bytes before(machine.ram, machine.ram + 0x3FFE);
            EXPECT_FALSE(TapeLoadTrap());
            EXPECT_EQ(Bytes(machine.ram, machine.ram + 0x3FFE), before);
            EXPECT_EQ(machine.pc, kLoadTrapAddress + 3) << "on in the ROM's reader, after DI and PUSH IY";
            EXPECT_EQ(machine.sp, 0x3FFE);
            EXPECT_EQ(ReadMemory(0x3FFE) | ReadMemory(0x3FFF) << 8, 0x1234);
            EXPECT_EQ(machine.iff1 | machine.iff2, 0);
        }
    }
}

TEST_F(TapeDeckTest, AHeaderRequestPassesDataBlocksAndAutorewindWindsBackAsALoadBegins) {
    InsertTapImage(Blocks({AceHeader(0, "A", 1, 0x3C51), Bytes{1}, AceHeader(0, "B", 1, 0x3C51), Bytes{2}}),
                   "ab");
    RequestHeader();
    ASSERT_TRUE(TapeLoadTrap());
    EXPECT_EQ(NameAt(0x231B), "A         ");
    RequestHeader(); // the ROM wanted another name: A's data is passed
    ASSERT_TRUE(TapeLoadTrap());
    EXPECT_EQ(NameAt(0x231B), "B         ");
    opt_autorewind = true;
    RequestHeader();
    EXPECT_FALSE(TapeLoadTrap()) << "the end of the tape: not wound back inside one LOAD";
    TapeFrameEnded();
    TapeFrameEnded(); // a frame away from the tape: the next request starts a new LOAD
    RequestHeader();
    EXPECT_TRUE(TapeLoadTrap());
    EXPECT_EQ(NameAt(0x231B), "A         ");
}

TEST_F(TapeDeckTest, WithoutTapeTheTrapDoesNothing) {
    machine.af.w = 0x1234;
    EXPECT_FALSE(TapeLoadTrap());
    EXPECT_EQ(machine.af.w, 0x1234);
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
        RequestData(hl, 0xFFFF);
        TapeLoadTrap();
    }
    EXPECT_EQ(machine.ram[0xFFFF], 0xAB) << "the big block wrapped round to ROM, which ignores writes";
}

TEST_F(TapeDeckTest, AutoloadTypesTheFirstHeadersNameAndKindForEachTapeType) {
    const TapeFileName dict = FirstFileOnTape(Blocks({Bytes{1, 2}, AceHeader(0, "Stars", 9, 0x3C51)}), false);
    const TapeFileName bytes = FirstFileOnTape(Blocks({AceHeader(0x20, "mc code", 2, 20000)}), false);
    const TapeFileName none = FirstFileOnTape(Blocks({Bytes{1, 2, 3}}), false);
    std::vector<TapeBlock> tzx(1);
    tzx[0].blockId = 0x10;
    tzx[0].data = Concat({Bytes{0x00}, AceHeader(0, "xmodem", 9, 0x3C51), Bytes{0}});
    const struct {
        int tapeType;
        TapeFileName first;
        const char* text;
    } cases[] = {
        {0, dict, "load Stars\r"},
        {0, bytes, "0 0 bload mc code\r"},
        {0, none, "load maze\r"},
        {0, FirstFileOnTape(tzx, true), "load xmodem\r"},
        {1, dict, "0 0 bload Stars\r"},
        {1, none, "0 0 bload maze\r"},
        {2, bytes, "0 0 bload mc code\r20000 call\r"},
    };
    for (const auto& c : cases) {
        opt_tape_type = uint8_t(c.tapeType);
        EXPECT_EQ(AutoloadText(c.first, "maze"), c.text);
    }
}

TEST_F(TapeDeckTest, InsertingWithAutoloadStartsTheSpool) {
    opt_autoload = true;
    opt_tape_type = 2;
    InsertTapImage(Blocks({AceHeader(0x20, "mc", 2, 20000), Bytes{0xC9, 0}}), "mc");
    EXPECT_TRUE(spool.spoolActive);
    EXPECT_EQ(spool.spoolLeft, int(std::string("0 0 bload mc\r20000 call\r").size()));
    ClearSpool();
    opt_autoload = false;
    InsertTapImage(Blocks({AceHeader(0x20, "mc", 2, 20000), Bytes{0xC9, 0}}), "mc");
    EXPECT_EQ(spool.spoolLeft, 0);
}

} // namespace
