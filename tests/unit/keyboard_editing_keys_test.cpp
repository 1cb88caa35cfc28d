// The PC keys that reach the Ace's editing keys (the list in the README and the Help
// box), each typed through the key queue into the real ROM and judged by what it does:
// the input line on the screen, or the editor's flags.
#include <string>
#include <vector>

#include "key_queue_machine.h"
#include "machine/rom_keyboard.h"

namespace {

class EditingKeysTest : public KeyQueueMachineTest {
  protected:
    static void Type(const std::string& text) {
        TypeAtOnce(text);
        TypeOut();
    }
    // A PC key, with Shift held around it when asked.
    static void Key(int virtualKey, bool withShift = false) {
        const AceKeyStroke shift = AceKeyStroke::Key(vk::kShift), key = AceKeyStroke::Key(virtualKey);
        if (withShift) QueueKeyPress(shift);
        QueueKeyPress(key);
        QueueKeyRelease(key);
        if (withShift) QueueKeyRelease(shift);
        TypeOut();
    }
    // The input line as the Ace's character codes, without the cursor and the blanks
    // after the text.
    static std::string InputLine() {
        std::string line;
        for (int col = 1; col < 32; ++col) {
            const uint8_t c = ramBlock[0x2400 + 23 * 32 + col];
            if (!IsCursor(c)) line += char(c);
        }
        return line.substr(0, line.find_last_not_of(' ') + 1);
    }
    // The cursor shows the mode: L, C (CAPS LOCK) or G (GRAPHICS), in inverse video.
    static bool IsCursor(uint8_t c) { return c == 0x97 || c == 0xC3 || c == 0xC7; }
};

struct EditingKeyCase {
    const char* name;
    const char* before;      // typed first
    std::vector<int> keys;   // the PC keys under test
    const char* after;       // typed next
    std::string inputLine;   // the input line then, as character codes
    uint8_t statinFlags = 0; // editor flags that must be on
};

TEST_F(EditingKeysTest, EveryListedKeyDoesWhatTheAceKeyDoes) {
    REQUIRE_TEST_ROM();
    using namespace rom_keyboard;
    const EditingKeyCase cases[] = {
        {"Left", "abc", {vk::kLeft}, "x", "abxc"},
        {"Right", "abc", {vk::kLeft, vk::kLeft, vk::kRight}, "x", "abxc"},
        {"Up (to the start of a one-line input)", "abcd", {vk::kUp}, "x", "xabcd"},
        {"Down (to its end)", "abcd", {vk::kLeft, vk::kLeft, vk::kDown}, "x", "abcdx"},
        {"Backspace", "abc", {vk::kBackspace}, "", "ab"},
        {"Delete", "abc", {vk::kDelete}, "", "ab"},
        {"Caps Lock", "", {vk::kCapsLock}, "ab", "AB", kCapsLock},
        {"Caps Lock twice", "", {vk::kCapsLock, vk::kCapsLock}, "ab", "ab"},
        {"Insert (GRAPHICS)", "", {vk::kInsert}, "a", "\x01", kGraphics},
        {"Page Up (INVERSE VIDEO)", "", {vk::kPageUp}, "a", "\xE1", kInverseVideo},
        {"Page Up twice stays inverse", "", {vk::kPageUp, vk::kPageUp}, "a", "\xE1", kInverseVideo},
        {"Page Down (TRUE VIDEO) after Page Up", "a", {vk::kPageUp, vk::kPageDown}, "b", "ab"},
        {"Page Down in true video types nothing", "a", {vk::kPageDown}, "b", "ab"},
        {"End (DELETE LINE)", "abc", {vk::kEnd}, "", ""},
    };
    for (const EditingKeyCase& c : cases) {
        SCOPED_TRACE(c.name);
        ResetKeyboard();
        ASSERT_TRUE(BootTestRom());
        Frames(100);
        Type(c.before);
        for (int key : c.keys)
            Key(key);
        Type(c.after);
        EXPECT_EQ(InputLine(), c.inputLine);
        EXPECT_EQ(ramBlock[kStatin] & (kCapsLock | kGraphics | kInverseVideo), c.statinFlags);
        EXPECT_TRUE(NoKeyDown());
    }
}

TEST_F(EditingKeysTest, ShiftSpaceIsBreak) {
    REQUIRE_TEST_ROM();
    ASSERT_TRUE(BootTestRom());
    Frames(100);
    Type(": L BEGIN 0 UNTIL ; L\n");
    Frames(50);
    EXPECT_EQ(ScreenLine(0).find("OK"), std::string::npos) << "the loop runs: " << ScreenLine(0);
    Key(vk::kSpace, true);
    Frames(50);
    EXPECT_NE(ScreenLine(0).find("ERROR 3"), std::string::npos) << ScreenLine(0) << "|" << ScreenLine(1);
}

} // namespace
