// The Keyboard Helper's buttons: the key under each, the characters they type under
// the two toggles, and the typing switch.
#include "app/keyboard.h"
#include "machine/machine_state.h"
#include "tape/spool.h"
#include "test_support.h"

namespace {

class KeyboardHelperTest : public MachineTest {
  protected:
    void SetUp() override {
        MachineTest::SetUp();
        ResetKeyboard();
        spool.typingCounter = 7;
    }
    void TearDown() override {
        ResetKeyboard();
        spool.typingCounter = 0;
        MachineTest::TearDown();
    }
};

TEST_F(KeyboardHelperTest, CharactersUnderEachToggle) {
    // plain, SHIFT, SYMBOL SHIFT, both
    const uint8_t expected[kHelperButtonCount][4] = {
        {'1', 12, '!', '1'},  {'2', 11, '@', '2'},  {'3', '3', '#', '3'}, {'4', 4, '$', '4'},
        {'5', '5', '%', '5'}, {'6', '6', '&', '6'}, {'7', '7', 39, '7'},  {'8', '8', '(', '8'},
        {'9', 9, ')', '9'},   {'0', 10, '_', '0'},  {'q', 'Q', 'Q', 'Q'}, {'w', 'W', 'W', 'W'},
        {'e', 'E', 'E', 'E'}, {'r', 'R', '<', 'r'}, {'t', 'T', '>', 't'}, {'y', 'Y', '[', 'y'},
        {'u', 'U', ']', 'u'}, {'i', 'I', 127, 'i'}, {'o', 'O', ';', 'o'}, {'p', 'P', 34, 'p'},
        {'a', 'A', '~', 'a'}, {'s', 'S', 124, 's'}, {'d', 'D', 92, 'd'},  {'f', 'F', '{', 'f'},
        {'g', 'G', '}', 'g'}, {'h', 'H', '^', 'h'}, {'j', 'J', '-', 'j'}, {'k', 'K', '+', 'k'},
        {'l', 'L', '=', 'l'}, {13, 13, 13, 13},     {0, 0, 0, 0},         {'z', 'Z', ':', 'z'},
        {'x', 'X', 96, 'x'},  {'c', 'C', '?', 'c'}, {'v', 'V', '/', 'v'}, {'b', 'B', '*', 'b'},
        {'n', 'N', ',', 'n'}, {'m', 'M', '.', 'm'}, {0, 0, 0, 0},         {' ', ' ', ' ', ' '},
    };
    for (int b = 0; b < kHelperButtonCount; ++b) {
        SCOPED_TRACE(kAceKeys[b].legend);
        EXPECT_EQ(HelperCharacter(b, false, false), expected[b][0]);
        EXPECT_EQ(HelperCharacter(b, true, false), expected[b][1]);
        EXPECT_EQ(HelperCharacter(b, false, true), expected[b][2]);
        EXPECT_EQ(HelperCharacter(b, true, true), expected[b][3]);
    }
    EXPECT_EQ(HelperCharacter(-1, false, false), 0);
    EXPECT_EQ(HelperCharacter(kHelperButtonCount, false, false), 0);
}

TEST_F(KeyboardHelperTest, OpeningStartsTheTypingCycleWithTogglesClear) {
    helperShift = true;
    symbolHeld = true;
    OpenHelperTyping();
    EXPECT_TRUE(spool.helperTyping);
    EXPECT_EQ(spool.typingCounter, 0);
    EXPECT_FALSE(helperShift);
    EXPECT_FALSE(symbolHeld);
    CloseHelperTyping();
    EXPECT_FALSE(spool.helperTyping);
}

TEST_F(KeyboardHelperTest, ShiftToggleChoosesTheShiftedCharacter) {
    OpenHelperTyping();
    HelperButtonDown(kHelperShiftButton);
    EXPECT_TRUE(helperShift);
    EXPECT_EQ(spool.helperPendingCharacter, 0); // a toggle types nothing
    HelperButtonDown(1);                  // '2'
    EXPECT_EQ(spool.helperPendingCharacter, 11);
    HelperButtonDown(kHelperShiftButton);
    EXPECT_FALSE(helperShift);
    HelperButtonDown(1);
    EXPECT_EQ(spool.helperPendingCharacter, '2');
}

TEST_F(KeyboardHelperTest, SymbolToggleIsSharedWithTheCtrlKey) {
    OpenHelperTyping();
    HelperButtonDown(kHelperSymbolShiftButton);
    EXPECT_TRUE(symbolHeld);
    HelperButtonDown(27); // K
    EXPECT_EQ(spool.helperPendingCharacter, '+');
    HelperButtonDown(kHelperShiftButton); // both toggles: the plain letter
    HelperButtonDown(27);
    EXPECT_EQ(spool.helperPendingCharacter, 'k');
    HelperButtonDown(kHelperSymbolShiftButton);
    EXPECT_FALSE(symbolHeld);
}

TEST_F(KeyboardHelperTest, EveryPressTurnsTypingOnAndTheLastClickWins) {
    CloseHelperTyping();
    HelperButtonDown(kHelperShiftButton);
    EXPECT_TRUE(spool.helperTyping);
    CloseHelperTyping();
    HelperButtonDown(kHelperSpaceButton);
    EXPECT_TRUE(spool.helperTyping);
    EXPECT_EQ(spool.helperPendingCharacter, ' ');
    // Two clicks before the frame driver's next typing frame: only the second remains.
    HelperButtonDown(20); // A
    HelperButtonDown(kHelperEnterButton);
    EXPECT_EQ(spool.helperPendingCharacter, 13);
    HelperButtonDown(99); // no such button: nothing changes
    EXPECT_EQ(spool.helperPendingCharacter, 13);
}

} // namespace
