// Key events that come faster than the ROM reads the keyboard: queued in order and
// applied frame by frame, so the ROM sees every key down and let go.
#include <string>

#include "app/key_queue.h"
#include "app/keyboard.h"
#include "app/virtual_keys.h"
#include "running_machine.h"

namespace {

AceKeyStroke CharacterStroke(char c) {
    KeyChord keys;
    EXPECT_TRUE(SpoolCharacterKeys(uint8_t(c), keys)) << c;
    return AceKeyStroke::Character(keys);
}

class KeyQueueTest : public RunningMachineTest {
  protected:
    void SetUp() override {
        RunningMachineTest::SetUp();
        ResetKeyboard();
    }
    void TearDown() override {
        ResetKeyboard();
        RunningMachineTest::TearDown();
    }
    // Frames as the application's loop runs them: the frame, then the queue.
    static void Frames(int n) {
        for (int i = 0; i < n; ++i) {
            RunFrame();
            KeyQueueFrameEnded();
        }
    }
    // The whole text typed at once, each key pressed and released within the same
    // moment, as an auto-typer does: by character, Return by key.
    static void TypeAtOnce(const std::string& text) {
        for (char c : text) {
            const AceKeyStroke stroke = c == '\n' ? AceKeyStroke::Key(vk::kReturn) : CharacterStroke(c);
            QueueKeyPress(stroke);
            QueueKeyRelease(stroke);
        }
    }
    // Frames until the queue is empty, and some more for the ROM to act on the last key.
    static void TypeOut() {
        for (int i = 0; i < 4000 && QueuedKeyEvents() > 0; ++i)
            Frames(1);
        Frames(30);
    }
};

TEST_F(KeyQueueTest, PressStaysDownUntilTheRomHasReadItAndReleaseFollowsInOrder) {
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
        KeyQueueFrameEnded();
        EXPECT_TRUE(AceKeyDown(AceLetterKey('A'))) << "frame " << frame;
    }
    KeyQueueFrameEnded();
    // A let go; Shift goes down with it (it only qualifies the next key), B waits.
    EXPECT_FALSE(AceKeyDown(AceLetterKey('A')));
    EXPECT_TRUE(AceKeyDown(kAceShift));
    EXPECT_FALSE(AceKeyDown(AceLetterKey('B')));
    for (int frame = 1; frame < kKeyGapFrames; ++frame)
        KeyQueueFrameEnded();
    EXPECT_FALSE(AceKeyDown(AceLetterKey('B')));
    KeyQueueFrameEnded();
    EXPECT_TRUE(AceKeyDown(AceLetterKey('B')));
    EXPECT_TRUE(AceKeyDown(kAceShift));
    for (int frame = 0; frame < kKeyHoldFrames; ++frame)
        KeyQueueFrameEnded();
    EXPECT_EQ(QueuedKeyEvents(), 0);
    EXPECT_TRUE(NoKeyDown());
}

TEST_F(KeyQueueTest, SlowKeysPassStraightThrough) {
    const AceKeyStroke l = AceKeyStroke::Key('L');
    Frames(1);
    QueueKeyPress(l);
    EXPECT_TRUE(AceKeyDown(AceLetterKey('L')));
    Frames(kKeyHoldFrames);
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
    Frames(kKeyHoldFrames);
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

} // namespace
