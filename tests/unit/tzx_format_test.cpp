// TZX tapes: every block of the format walked by its length rule, damaged files cut at
// every byte, the pulse generator's edges in time, and the tape browser's texts.
#include <random>

#include "base/messages.h"
#include "machine/machine_state.h"
#include "tape/load_file.h"
#include "tape/tape_deck.h"
#include "tape/tape_listing.h"
#include "tape/tzx_format.h"
#include "tape_convert.h"
#include "tape_test_support.h"

namespace {

class TzxTest : public TapeTest {};

void Add16(Bytes& b, uint32_t v) {
    b.push_back(uint8_t(v));
    b.push_back(uint8_t(v >> 8));
}
void Add24(Bytes& b, uint32_t v) {
    Add16(b, v & 0xFFFF);
    b.push_back(uint8_t(v >> 16));
}
void Add32(Bytes& b, uint32_t v) {
    Add16(b, v & 0xFFFF);
    Add16(b, v >> 16);
}
Bytes Signature() {
    return {'Z', 'X', 'T', 'a', 'p', 'e', '!', 0x1A, 1, 20};
}

// One block of each kind, with the offsets where each block starts.
struct SampleTape {
    Bytes bytes = Signature();
    std::vector<int> ids;
    std::vector<size_t> starts;
    void Block(int id, const Bytes& body) {
        starts.push_back(bytes.size());
        ids.push_back(id);
        bytes.push_back(uint8_t(id));
        bytes.insert(bytes.end(), body.begin(), body.end());
    }
};

SampleTape EveryKindOfBlock() {
    SampleTape t;
    Bytes b;
    t.Block(0x30, {5, 'h', 'e', 'l', 'l', 'o'});
    b = {};
    Add16(b, 1000), Add16(b, 3), b.insert(b.end(), {0x00, 0x12, 0x12});
    t.Block(0x10, b);
    b = {};
    for (uint32_t v : {2168u, 667u, 735u, 855u, 1710u, 3223u})
        Add16(b, v);
    b.push_back(6), Add16(b, 500), Add24(b, 2), b.insert(b.end(), {0xAA, 0xFC});
    t.Block(0x11, b);
    b = {};
    Add16(b, 2168), Add16(b, 20);
    t.Block(0x12, b);
    t.Block(0x13, {2, 0x10, 0x00, 0x20, 0x00});
    b = {};
    Add16(b, 855), Add16(b, 1710), b.push_back(8), Add16(b, 0), Add24(b, 1), b.push_back(0x81);
    t.Block(0x14, b);
    b = {};
    Add16(b, 79), Add16(b, 0), b.push_back(4), Add24(b, 2), b.insert(b.end(), {0xF0, 0xA0});
    t.Block(0x15, b);
    b = {};
    Add32(b, 3), b.insert(b.end(), {1, 2, 3});
    t.Block(0x19, b);
    t.Block(0x20, {100, 0});
    t.Block(0x21, {3, 'g', 'r', 'p'});
    t.Block(0x22, {});
    t.Block(0x24, {2, 0});
    t.Block(0x25, {});
    t.Block(0x2B, {1, 0, 0, 0, 1});
    t.Block(0x31, {5, 3, 'm', 's', 'g'});
    t.Block(0x32, {6, 0, 1, 0x00, 3, 'T', 'i', 't'});
    t.Block(0x33, {1, 0, 0x1A, 1});
    t.Block(0x34, {0, 0, 0, 0, 0, 0, 0, 0});
    b = Bytes(16, 'X'), Add32(b, 2), b.insert(b.end(), {9, 9});
    t.Block(0x35, b);
    t.Block(0x5A, {'X', 'T', 'a', 'p', 'e', '!', 0x1A, 1, 20});
    b = {};
    Add32(b, 1), b.push_back(7);
    t.Block(0x4B, b); // an ID from after 1.20: its 32-bit length word is trusted
    return t;
}

TEST(TzxParse, EveryBlockIsWalkedByItsLengthRuleAndACutFileKeepsTheBlocksBeforeTheCut) {
    const SampleTape t = EveryKindOfBlock();
    const TzxParseResult whole = ParseTzx(t.bytes);
    ASSERT_EQ(whole.problem, TzxProblem::None);
    ASSERT_EQ(whole.blocks.size(), t.ids.size());
    for (size_t n = 0; n < t.ids.size(); ++n)
        EXPECT_EQ(whole.blocks[n].blockId, t.ids[n]) << "block " << n;
    const TapeBlock& turbo = whole.blocks[2];
    EXPECT_EQ(turbo.timing.pilotPulse, 2168);
    EXPECT_EQ(turbo.timing.pilotCount, 3223u);
    EXPECT_EQ(turbo.timing.usedBits, 6);
    EXPECT_EQ(turbo.pause, 500);
    EXPECT_EQ(turbo.data, (Bytes{0xAA, 0xFC}));
    EXPECT_EQ(whole.blocks[4].timing.pulses, (std::vector<uint16_t>{0x10, 0x20}));
    EXPECT_EQ(whole.blocks[0].text, "hello");
    EXPECT_EQ(whole.blocks[15].text, "Tit");

    for (size_t cut = 0; cut < t.bytes.size(); ++cut) {
        const TzxParseResult r = ParseTzx(std::span(t.bytes).first(cut));
        if (cut < kTzxHeaderSize) {
            EXPECT_EQ(r.problem, TzxProblem::BadSignature);
            continue;
        }
        size_t complete = 0;
        while (complete < t.starts.size() &&
               (complete + 1 < t.starts.size() ? t.starts[complete + 1] : t.bytes.size()) <= cut)
            ++complete;
        EXPECT_EQ(r.blocks.size(), complete) << "cut at " << cut;
        const bool atBoundary =
            cut == kTzxHeaderSize || (complete < t.starts.size() && t.starts[complete] == cut);
        EXPECT_EQ(r.problem, atBoundary ? TzxProblem::None : TzxProblem::Truncated) << "cut at " << cut;
    }
}

TEST(TzxParse, LengthFieldsAtTheirExtremesAndUnknownIdsNeverReadPastTheFile) {
    const struct {
        const char* what;
        Bytes body;
        TzxProblem problem;
        size_t blocks;
    } cases[] = {
        {"0x10 of length 0", {0x10, 0, 0, 0, 0}, TzxProblem::None, 1},
        {"0x10 of length 0xFFFF", {0x10, 0, 0, 0xFF, 0xFF, 1, 2, 3}, TzxProblem::Truncated, 0},
        {"0x11 of length 0xFFFFFF",
         {0x11, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 8, 0, 0, 0xFF, 0xFF, 0xFF},
         TzxProblem::Truncated,
         0},
        {"0x35 of length 0xFFFFFFFF",
         {0x35, 'a', 'a', 'a', 'a', 'a', 'a',  'a',  'a',  'a', 'a',
          'a',  'a', 'a', 'a', 'a', 'a', 0xFF, 0xFF, 0xFF, 0xFF},
         TzxProblem::Truncated,
         0},
        {"0x13 whose pulses run past the end", {0x13, 0xFF, 1, 2}, TzxProblem::Truncated, 0},
        {"an ID with no length rule", {0x20, 5, 0, 0x05, 1, 2, 3}, TzxProblem::UnknownBlock, 1},
        {"a 1 GB length word", {0x4F, 0, 0, 0, 0x40}, TzxProblem::Truncated, 0},
    };
    for (const auto& c : cases) {
        Bytes file = Signature();
        file.insert(file.end(), c.body.begin(), c.body.end());
        const TzxParseResult r = ParseTzx(file);
        EXPECT_EQ(r.problem, c.problem) << c.what;
        EXPECT_EQ(r.blocks.size(), c.blocks) << c.what;
    }
    Bytes wrong = Signature();
    wrong[6] = '?';
    EXPECT_EQ(ParseTzx(wrong).problem, TzxProblem::BadSignature);

    // Random files behind a real signature: the parser and the listing must survive them.
    std::mt19937 random(7);
    for (int n = 0; n < 2000; ++n) {
        Bytes file = Signature();
        const int size = int(random() % 64);
        for (int k = 0; k < size; ++k)
            file.push_back(uint8_t(random() % 8 == 0 ? 0x10 + random() % 0x30 : random()));
        const TzxParseResult r = ParseTzx(file);
        for (const TapeBlock& b : r.blocks) {
            TapeBlockRow(b);
            TapeBlockDetails(b);
        }
    }
}

TEST_F(TzxTest, AWrongSignatureIsReportedAndACutTapeLoadsItsWholeBlocks) {
    const std::string dir = ScratchFolder();
    WriteFile(dir + "bad.tzx", {'N', 'o', 't', 'T', 'Z', 'X', '!', 0x1A, 1, 20, 0x10});
    InsertTapImage({TapeBlock{}}, "old");
    EXPECT_EQ(LoadFileByName(dir + "bad.tzx", LoadRoute::LoadFileDialog), LoadResult::Failed) << "nothing was loaded";
    EXPECT_EQ(LastReportedMessage().text, "1B - Tape Error: Not a TZX file");
    EXPECT_FALSE(TapeInDeck()) << "the old tape is ejected";
    EXPECT_FALSE(tzxInserted);

    Bytes cut = TapToTzx(Concat({TapBlock(Bytes(25, 0)), TapBlock(Bytes(40, 1))}));
    cut.resize(cut.size() - 5);
    WriteFile(dir + "cut.tzx", cut);
    EXPECT_EQ(LoadFileByName(dir + "cut.tzx", LoadRoute::LoadFileDialog), LoadResult::Loaded);
    EXPECT_EQ(LastReportedMessage().code, 21);
    ASSERT_TRUE(TapeInDeck());
    EXPECT_EQ(tapeDeck.tapeInDeck->blocks.size(), 1u);
    EXPECT_TRUE(tzxInserted);
}

// Edge times of a tape played from its start, ticked in small steps.
std::vector<uint64_t> EdgeTimes(std::vector<TapeBlock> blocks) {
    InsertTzxImage(std::move(blocks), "t");
    opt_fastloadtzx = false;
    StartTzxPlayback();
    std::vector<uint64_t> edges;
    uint8_t level = tapeDeck.tapeLevel;
    uint64_t time = 0;
    for (int n = 0; n < 50000000 && tzxPlaying; ++n) {
        TapeTick(2);
        time += 2;
        if (tapeDeck.tapeLevel != level && tzxPlaying) edges.push_back(time); // not the stop
        level = tapeDeck.tapeLevel;
    }
    return edges;
}

TEST_F(TzxTest, SignalBlocksPlayTheirPulsesScaledToTheMachineClockWithLoopsAndPauses) {
    Bytes file = Signature();
    auto block = [&](std::initializer_list<uint8_t> b) { file.insert(file.end(), b); };
    block({0x30, 1, 'x'});                    // text: no signal
    block({0x12, 0xAC, 0x0D, 5, 0});          // tone: 5 pulses of 3500
    block({0x24, 3, 0});                      // loop three times:
    block({0x13, 2, 0x58, 0x1B, 0x58, 0x1B}); //   two pulses of 7000
    block({0x25});
    block({0x20, 10, 0}); // 10 ms pause
    block({0x12, 0xAC, 0x0D, 1, 0});
    const TzxParseResult tape = ParseTzx(file);
    ASSERT_EQ(tape.problem, TzxProblem::None);
    const std::vector<uint64_t> edges = EdgeTimes(tape.blocks);
    ASSERT_EQ(edges.size(), 5u + 6u + 1u + 1u) << "tone, loop body three times, the pause's edge, last tone";
    EXPECT_NEAR(double(edges[0]), 812500, 10) << "the tape winds up before the first edge";
    const double clock = 64584.0 * 50;
    EXPECT_NEAR(double(edges[1] - edges[0]), 3500 * clock / 3500000, 3);
    EXPECT_NEAR(double(edges[6] - edges[5]), 7000 * clock / 3500000, 3);
    EXPECT_NEAR(double(edges[12] - edges[11]), 0.010 * clock, 3) << "the pause";
    EXPECT_FALSE(tzxPlaying) << "the end of the tape stops it";
    EXPECT_EQ(tapeDeck.currentBlock, &tapeDeck.tapeInDeck->blocks.back());
}

TEST_F(TzxTest, ASetLevelBlockGivesTheFollowingPulsesTheirPolarity) {
    for (uint8_t level : {0, 1}) {
        Bytes file = Signature();
        file.insert(file.end(), {0x2B, 1, 0, 0, 0, level, 0x12, 0xAC, 0x0D, 2, 0});
        InsertTzxImage(ParseTzx(file).blocks, "t");
        StartTzxPlayback();
        TapeTick(812500 + 100); // into the tone's first pulse
        EXPECT_EQ(tapeDeck.tapeLevel, 1 - level) << "the first edge leaves the level set";
        StopTzxPlayback();
    }
}

TEST_F(TzxTest, AutorewindStartsEachPlaybackAtTheFirstBlockOtherwiseItGoesOn) {
    Bytes file = Signature();
    file.insert(file.end(), {0x12, 0x10, 0, 2, 0, 0x20, 0, 0, 0x12, 0x10, 0, 2, 0});
    const TzxParseResult tape = ParseTzx(file); // tone, stop the tape, tone
    ASSERT_EQ(tape.blocks.size(), 3u);
    for (bool rewind : {false, true}) {
        opt_autorewind = rewind;
        EXPECT_EQ(EdgeTimes(tape.blocks).size(), 2u) << "the first tone, then the tape stops itself";
        EXPECT_EQ(tapeDeck.currentBlock->index, 2) << "it goes on after the stop block";
        StartTzxPlayback();
        EXPECT_EQ(tapeDeck.currentBlock->index, rewind ? 0 : 2);
        StopTzxPlayback();
    }
}

TEST_F(TzxTest, AceStandardBlocksUseTheRomTimingsAndEndWithAQuietGap) {
    const TzxParseResult tape = ParseTzx(TapToTzx(TapBlock(Bytes{0x80}), 0));
    ASSERT_EQ(tape.blocks.size(), 1u);
    const std::vector<uint64_t> edges = EdgeTimes(tape.blocks);
    // 8192 leader pulses, two sync pulses, 3 bytes of two edges per bit, the closing edge.
    ASSERT_EQ(edges.size(), 8192u + 2 + 3 * 16 + 1);
    EXPECT_NEAR(double(edges[1] - edges[0]), 1733, 2);
    EXPECT_NEAR(double(edges[8193] - edges[8192]), 517, 2);
    EXPECT_NEAR(double(edges[8194] - edges[8193]), 680, 2);
    // Flag 0x00 then 0x80: the flag's last bit is a zero, the next byte's first a one.
    EXPECT_NEAR(double(edges[8210] - edges[8209]), 743, 2);
    EXPECT_NEAR(double(edges[8211] - edges[8210]), 1477, 2);
}

TEST_F(TzxTest, BrowserRowsNameEveryBlockAndReadHeaderFieldsOnlyWhenPresent) {
    REQUIRE_TEST_DATA();
    const TzxParseResult xmodem = ParseTzx(ReadFile(TestDataPath() + "/ace/tzx/xmodem.tzx"));
    EXPECT_EQ(TapeRows(xmodem.blocks),
              (std::vector<std::string>{"Text Description: Created using the EightyOne emulator",
                                        "Bytes: xmodem      CODE 63488,238", "240 data bytes", "End Of Tape"}));
    const DetailRows header = TapeBlockDetails(xmodem.blocks[1]);
    EXPECT_EQ(header[0],
              (std::pair<std::string, std::string>{"Block ID", "0x10 - STANDARD SPEED DATA BLOCK"}));
    EXPECT_EQ(header[1].second, "Bytes: xmodem      CODE 63488,238");

    // A 20-byte Spectrum-style header: "Bytes:", the name and the start at offset 14.
    TapeBlock screen;
    screen.blockId = 0x10;
    screen.data = {0x00, 0x03, 'S', 'C',  'R',  'E',  'E', 'N', ' ', ' ',
                   ' ',  ' ',  0,   0x1B, 0x00, 0x40, 0,   0,   0,   0};
    EXPECT_EQ(TapeBlockRow(screen), "Bytes: SCREEN      CODE 16384");
    screen.data.resize(5); // too short to hold a name: no field is read
    EXPECT_EQ(TapeBlockRow(screen), "5 bytes");
    screen.data.clear();
    EXPECT_EQ(TapeBlockDetails(screen).back().second, "0 Milliseconds");

    TapeBlock typed;
    typed.typeByte = true;
    typed.data = Bytes(26, 0x20);
    EXPECT_EQ(TapeBlockDetails(typed)[0].second, "TAP block with its type byte");
}

} // namespace
