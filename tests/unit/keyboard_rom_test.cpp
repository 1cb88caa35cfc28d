// The keyboard handlers on the whole machine: PC keys read by the real ROM, and the
// Keyboard Helper's characters typed by the frame driver.
#include <initializer_list>
#include <string>

#include "app/keyboard.h"
#include "app/virtual_keys.h"
#include "key_queue_machine.h"

namespace {

// The handlers called directly here, not through the queue.
class KeyboardRomTest : public KeyQueueMachineTest {
  protected:
    static void RunFrames(int n) {
        for (int i = 0; i < n; ++i)
            RunFrame();
    }
    // A PC key stroke with the keys in `held` down around it. The ROM takes a key once
    // it has seen it down over a few of its 50 Hz scans, and wants it let go before the
    // next one.
    static void Stroke(std::initializer_list<int> held, int key) {
        for (int h : held)
            ::KeyDown(h);
        ::KeyDown(key);
        RunFrames(4);
        ::KeyUp(key);
        for (int h : held)
            ::KeyUp(h);
        RunFrames(2);
    }
    bool Boot() {
        if (!BootTestRom()) return false;
        RunFrames(100);
        return true;
    }
};

TEST_F(KeyboardRomTest, PcKeysTypeASum) {
    REQUIRE_TEST_ROM();
    ASSERT_TRUE(Boot());
    for (int key : {'1', '2', '3', ' ', '4', '5', '6', ' '})
        Stroke({}, key);
    Stroke({vk::kShift}, vk::kEquals); // '+': SHIFT, SYMBOL SHIFT and K together
    Stroke({}, ' ');
    Stroke({}, vk::kPeriod);
    Stroke({}, vk::kReturn);
    RunFrames(20);
    EXPECT_EQ(ScreenLine(0), "123 456 + . 579  OK");
    EXPECT_TRUE(NoKeyDown());
}

TEST_F(KeyboardRomTest, SymbolsShiftedLettersAndCursorKeys) {
    REQUIRE_TEST_ROM();
    ASSERT_TRUE(Boot());
    Stroke({vk::kShift}, vk::kSemicolon); // ':'
    Stroke({vk::kShift}, vk::kHash);      // '~'
    Stroke({vk::kShift}, 'A');            // 'A'
    Stroke({}, 'B');                      // 'b'
    Stroke({vk::kControl}, 'P');          // '"'
    Stroke({}, vk::kPadMultiply);         // '*'
    EXPECT_EQ(ScreenLine(23).substr(1, 6), ":~Ab\"*");
    // Left moves the cursor back over '*'; Backspace deletes the '"' before it.
    Stroke({}, vk::kLeft);
    Stroke({}, vk::kBackspace);
    EXPECT_EQ(ScreenLine(23).substr(1, 4), ":~Ab");
    EXPECT_EQ(ScreenLine(23).substr(6, 1), "*");
}

TEST_F(KeyboardRomTest, HelperClicksWithinOneCycleTypeOnlyTheLast) {
    OpenHelperTyping();
    HelperButtonDown(20); // A
    HelperButtonDown(21); // S
    RunFrames(2);         // the count reaches 1: the pending character is typed
    EXPECT_TRUE(AceKeyDown(AceLetterKey('S')));
    EXPECT_FALSE(AceKeyDown(AceLetterKey('A')));
    EXPECT_EQ(spool.helperPendingCharacter, 0);
    RunFrames(4);
    EXPECT_TRUE(AceKeyDown(AceLetterKey('S'))) << "held for five frames of the six-frame cycle";
    RunFrames(1);
    EXPECT_TRUE(NoKeyDown()) << "and let go on its last frame";
}

TEST_F(KeyboardRomTest, HelperShiftedDigitPressesShiftAndTheDigit) {
    OpenHelperTyping();
    HelperButtonDown(kHelperShiftButton);
    HelperButtonDown(1); // '2' under SHIFT: code 11, CAPS LOCK
    RunFrames(2);
    EXPECT_TRUE(AceKeyDown(kAceShift));
    EXPECT_TRUE(AceKeyDown(AceDigitKey(2)));
    CloseHelperTyping();
    RunFrames(6);
    EXPECT_TRUE(AceKeyDown(AceDigitKey(2))) << "no helper cycle once closed";
}

TEST_F(KeyboardRomTest, HelperTypesIntoForth) {
    REQUIRE_TEST_ROM();
    ASSERT_TRUE(Boot());
    OpenHelperTyping();
    // "7 1 + ." and ENTER, one click in every six-frame cycle: the keys are let go on
    // each cycle's last frame, so the ROM sees every character.
    for (int button : {6, 39, 0, 39, 38, 27, 38, 39, 38, 37, 38, 29}) {
        HelperButtonDown(button);
        RunFrames(6);
    }
    RunFrames(20);
    EXPECT_EQ(ScreenLine(0), "7 1 + . 8  OK");
}

} // namespace
