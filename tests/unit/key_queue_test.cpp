// Key events that come faster than the ROM reads the keyboard: queued in order and
// applied frame by frame, so the ROM sees every key down and let go.
#include <string>

#include "key_queue_machine.h"
#include "machine/rom_keyboard.h"
#include "machine/saved_state.h"
#include "test_support.h"

namespace {

using KeyQueueTest = KeyQueueMachineTest;

TEST_F(KeyQueueTest, KeysGoThreeFramesDownAndOneUpInOrderWhileTheEditorWaits) {
    REQUIRE_TEST_ROM();
    ASSERT_TRUE(BootTestRom());
    Frames(100);
    const AceKeyStroke a = AceKeyStroke::Key('A'), b = AceKeyStroke::Key('B');
    const AceKeyStroke shift = AceKeyStroke::Key(vk::kShift);
    QueueKeyPress(a);
    QueueKeyRelease(a);
    QueueKeyPress(shift); // behind A's release: the order of events is kept
    QueueKeyPress(b);
    QueueKeyRelease(b);
    QueueKeyRelease(shift);
    EXPECT_TRUE(AceKeyDown(AceLetterKey('A')));
    EXPECT_EQ(QueuedKeyEvents(), 5);
    for (int frame = 1; frame < kKeyHoldFrames; ++frame) {
        Frames(1);
        EXPECT_TRUE(AceKeyDown(AceLetterKey('A'))) << "frame " << frame;
    }
    Frames(1);
    // The ROM took A: A let go; Shift goes down with it (it only qualifies the next
    // key), B waits for the ROM to see the keyboard empty.
    EXPECT_FALSE(AceKeyDown(AceLetterKey('A')));
    EXPECT_TRUE(AceKeyDown(kAceShift));
    EXPECT_FALSE(AceKeyDown(AceLetterKey('B')));
    Frames(kKeyGapFrames);
    EXPECT_TRUE(AceKeyDown(AceLetterKey('B')));
    EXPECT_TRUE(AceKeyDown(kAceShift));
    Frames(kKeyHoldFrames);
    EXPECT_EQ(QueuedKeyEvents(), 0);
    EXPECT_TRUE(NoKeyDown());
    Frames(10);
    EXPECT_EQ(ScreenLine(23).substr(1, 2), "aB");
}

TEST_F(KeyQueueTest, SlowKeysPassStraightThrough) {
    const AceKeyStroke l = AceKeyStroke::Key('L');
    Frames(1);
    QueueKeyPress(l);
    EXPECT_TRUE(AceKeyDown(AceLetterKey('L')));
    // Without the ROM nothing shows the key taken: it may go up after the pacer's bound.
    Frames(RomKeyPacer::kMaxHoldFrames);
    QueueKeyRelease(l);
    EXPECT_TRUE(NoKeyDown());
    EXPECT_EQ(QueuedKeyEvents(), 0);
}

TEST_F(KeyQueueTest, ClearingDropsWhatWaits) {
    QueueKeyPress(AceKeyStroke::Key('Q'));
    QueueKeyPress(AceKeyStroke::Key('W'));
    ClearKeyQueue();
    ReleaseAllKeys();
    EXPECT_EQ(QueuedKeyEvents(), 0);
    Frames(RomKeyPacer::kMaxHoldFrames);
    EXPECT_TRUE(NoKeyDown());
}

TEST_F(KeyQueueTest, EveryKeyOfAFastTypedLineReachesTheRom) {
    REQUIRE_TEST_ROM();
    ASSERT_TRUE(BootTestRom());
    Frames(100);
    TypeAtOnce("123 456 + .\n");
    TypeOut();
    EXPECT_EQ(ScreenLine(0), "123 456 + . 579  OK");
    // Repeated keys (the two 1s) and symbols typed by character, SHIFT where needed.
    const std::string line = ": SQ ( N ) DUP * ; 11 SQ .";
    TypeAtOnce(line);
    TypeOut();
    EXPECT_NE((ScreenLine(22) + ScreenLine(23)).find(line), std::string::npos) << ScreenLine(23);
    TypeAtOnce("\n");
    TypeOut();
    // The ROM echoes the comment without the blank after it, and the line runs over.
    EXPECT_EQ(ScreenLine(1) + ScreenLine(2), ": SQ ( N )DUP * ; 11 SQ . 121  OK");
    EXPECT_TRUE(NoKeyDown());
}

// A burst typed while the ROM still works on the line before: the ROM scans the keyboard
// all the while and takes keys, but its line editor throws them away until it is done,
// so the first key of the burst would be lost ("0 8 + ." arriving as "8 + .").
TEST_F(KeyQueueTest, TheFirstKeyOfABurstWaitsForTheEditorToFinishTheLineBefore) {
    REQUIRE_TEST_ROM();
    ASSERT_TRUE(BootTestRom());
    Frames(100);
    TypeAtOnce(": SLOW 2000 0 DO LOOP ;\n");
    TypeOut();
    TypeAtOnce("SLOW\n0 8 + .\n");
    TypeOut();
    std::string screen;
    for (int row = 0; row < 24; ++row)
        screen += ScreenLine(row) + "\n";
    EXPECT_NE(screen.find("0 8 + . 8  OK"), std::string::npos) << screen;
    EXPECT_EQ(screen.find("ERROR"), std::string::npos) << screen;
}

// A quick save taken while typed keys still wait keeps them: loading it types the rest
// of the line again. A damaged queue in a state is refused with the machine untouched.
TEST_F(KeyQueueTest, AStateFileKeepsTheKeysStillQueued) {
    REQUIRE_TEST_ROM();
    ASSERT_TRUE(BootTestRom());
    Frames(100);
    KeepKeyQueueInStates();
    struct Forget { // the section hook outlives the test otherwise
        ~Forget() { SetFrontEndStateSection({}); }
    } forget;
    TypeAtOnce("123 456 + .\n");
    Frames(12);
    ASSERT_GT(QueuedKeyEvents(), 10);
    const std::string path = ScratchFolder() + "queued.nst";
    std::string error;
    ASSERT_TRUE(SaveStateFile(path, error)) << error;
    TypeOut();
    EXPECT_EQ(ScreenLine(0), "123 456 + . 579  OK");

    ClearKeyQueue();
    ASSERT_EQ(LoadStateFile(path, error), LoadResult::Loaded) << error;
    EXPECT_GT(QueuedKeyEvents(), 10);
    TypeOut();
    EXPECT_EQ(ScreenLine(0), "123 456 + . 579  OK");
    EXPECT_TRUE(NoKeyDown());

    // A queue of more events than could ever wait, then one cut short.
    const std::vector<uint8_t> before = CaptureMachineState();
    for (const std::vector<uint8_t>& queue : {std::vector<uint8_t>{0xFF, 0xFF, 0, 0}, std::vector<uint8_t>{1, 0, 0, 0, 1}}) {
        std::vector<uint8_t> raw = before;
        const uint8_t header[] = {'K', 'E', 'Y', 'Q', uint8_t(queue.size()), 0, 0, 0};
        raw.insert(raw.end(), std::begin(header), std::end(header));
        raw.insert(raw.end(), queue.begin(), queue.end());
        EXPECT_FALSE(RestoreMachineState(raw, error));
        EXPECT_EQ(CaptureMachineState(), before);
    }
}

} // namespace
