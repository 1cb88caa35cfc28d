// PC keys to Ace keys: the default table, the two-key rules and the release rules.
#include <initializer_list>
#include <string>

#include "app/keyboard.h"
#include "app/virtual_keys.h"
#include "machine/machine_state.h"
#include "machine/rom_keyboard.h"
#include "tape/spool.h"
#include "test_support.h"

namespace {

// The Ace's matrix written out by hand, so the tests do not trust the code's own tables.
const char* const kMatrixNames[8][5] = {
    {"SHIFT", "SYM", "Z", "X", "C"}, {"A", "S", "D", "F", "G"},     {"Q", "W", "E", "R", "T"},
    {"1", "2", "3", "4", "5"},       {"0", "9", "8", "7", "6"},     {"P", "O", "I", "U", "Y"},
    {"ENTER", "L", "K", "J", "H"},   {"SPACE", "M", "N", "B", "V"},
};

// The keyMatrix bytes with exactly the named keys down.
std::array<uint8_t, 8> MatrixWith(std::initializer_list<std::string> names) {
    std::array<uint8_t, 8> rows;
    rows.fill(0xFF);
    for (const std::string& name : names) {
        bool found = false;
        for (int r = 0; r < 8; ++r)
            for (int b = 0; b < 5; ++b)
                if (name == kMatrixNames[r][b]) rows[r] &= uint8_t(~(1 << b)), found = true;
        EXPECT_TRUE(found) << "no Ace key " << name;
    }
    return rows;
}

std::array<uint8_t, 8> Matrix() {
    std::array<uint8_t, 8> rows;
    std::copy(std::begin(machine.keyMatrix), std::end(machine.keyMatrix), rows.begin());
    return rows;
}

// Names of the keys down, for readable failures.
std::string KeysDown() {
    std::string s;
    for (int r = 0; r < 8; ++r)
        for (int b = 0; b < 5; ++b)
            if (!(machine.keyMatrix[r] & (1 << b)))
                s += std::string(s.empty() ? "" : "+") + kMatrixNames[r][b];
    return s.empty() ? "(none)" : s;
}

#define EXPECT_KEYS(...) EXPECT_EQ(Matrix(), MatrixWith({__VA_ARGS__})) << "down: " << KeysDown()
#define EXPECT_NO_KEYS() EXPECT_EQ(Matrix(), MatrixWith({})) << "down: " << KeysDown()

class KeyboardTest : public MachineTest {
  protected:
    void SetUp() override {
        MachineTest::SetUp();
        ResetKeyboard();
        spool.spoolActive = false;
    }
    void TearDown() override {
        spool.spoolActive = false;
        ResetKeyboard();
        MachineTest::TearDown();
    }
};

TEST_F(KeyboardTest, TableKeysPressAndReleaseTheirOwnKey) {
    struct Case {
        int vk;
        const char* key;
    };
    std::vector<Case> cases = {{vk::kReturn, "ENTER"},    {vk::kSpace, "SPACE"},
                               {vk::kLeftShift, "SHIFT"}, {vk::kRightShift, "SHIFT"},
                               {vk::kLeftControl, "SYM"}, {vk::kRightControl, "SYM"}};
    static const std::string digits[10] = {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9"};
    for (int d = 0; d <= 9; ++d) {
        cases.push_back({0x30 + d, digits[d].c_str()});
        cases.push_back({0x60 + d, digits[d].c_str()});
    }
    static std::string letters[26];
    for (int i = 0; i < 26; ++i) {
        letters[i] = std::string(1, char('A' + i));
        cases.push_back({0x41 + i, letters[i].c_str()});
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(c.vk);
        EXPECT_EQ(KeyMapTable[c.vk].code, c.vk);
        KeyDown(c.vk);
        EXPECT_KEYS(c.key);
        KeyUp(c.vk);
        EXPECT_NO_KEYS();
    }
}

TEST_F(KeyboardTest, UnmappedCodesPressNothingAndReleaseHalfRowZero) {
    int unmapped = 0;
    for (int code = 0; code < 256; ++code) {
        const KeyMapEntry& e = KeyMapTable[code];
        if (e.code != 0) continue;
        ++unmapped;
        EXPECT_EQ(e.halfRow, 0) << code;
        EXPECT_EQ(e.pressMask, 0xFF) << code;
        EXPECT_EQ(e.releaseMask, 0xFF) << code;
    }
    EXPECT_EQ(unmapped, 256 - (10 + 10 + 26 + 2 + 4));

    KeyDown(vk::kShift);
    KeyDown('Z');
    KeyDown('Q');
    KeyDown(vk::Function(1));
    EXPECT_KEYS("SHIFT", "Z", "Q");
    // F1's release frees SHIFT, SYMBOL SHIFT, Z, X and C though other keys still hold them.
    KeyUp(vk::Function(1));
    EXPECT_KEYS("Q");
    EXPECT_TRUE(shiftHeld);
}

TEST_F(KeyboardTest, CursorAndDeleteKeysAreShiftedDigits) {
    const struct {
        int vk;
        const char* digit;
    } cases[] = {{vk::kBackspace, "0"}, {vk::kDelete, "0"}, {vk::kLeft, "5"},     {vk::kUp, "6"},
                 {vk::kDown, "7"},      {vk::kRight, "8"},  {vk::kCapsLock, "2"}, {vk::kInsert, "9"},
                 {vk::kPageUp, "4"},    {vk::kEnd, "1"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.vk);
        KeyDown(c.vk);
        EXPECT_KEYS("SHIFT", c.digit);
        KeyUp(c.vk);
        EXPECT_NO_KEYS();
    }
}

TEST_F(KeyboardTest, PageDownPressesInverseVideoOnlyToLeaveIt) {
    ramBlock[rom_keyboard::kStatin] = 0; // true video
    KeyDown(vk::kPageDown);
    EXPECT_NO_KEYS();
    KeyUp(vk::kPageDown);
    ramBlock[rom_keyboard::kStatin] = rom_keyboard::kInverseVideo;
    KeyDown(vk::kPageDown);
    EXPECT_KEYS("SHIFT", "4");
    KeyUp(vk::kPageDown);
    EXPECT_NO_KEYS();
}

TEST_F(KeyboardTest, PadOperatorsAreSymbolShifted) {
    const struct {
        int vk;
        const char* key;
    } cases[] = {{vk::kPadMultiply, "B"},
                 {vk::kPadAdd, "K"},
                 {vk::kPadSubtract, "J"},
                 {vk::kPadDecimal, "M"},
                 {vk::kPadDivide, "V"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.vk);
        KeyDown(c.vk);
        EXPECT_KEYS("SYM", c.key);
        KeyUp(c.vk);
        EXPECT_NO_KEYS();
    }
}

struct SymbolCase {
    int vk;
    const char* plain;
    const char* shifted;
};
const SymbolCase kSymbolKeys[] = {
    {0xBA, "O", "Z"}, {0xBB, "L", "K"}, {0xBC, "N", "R"}, {0xBD, "J", "0"},
    {0xBE, "M", "T"}, {0xBF, "V", "C"}, {0xC0, "7", "2"}, {0xDB, "Y", "F"},
    {0xDC, "D", "S"}, {0xDD, "U", "G"}, {0xDE, "3", "A"},
};

TEST_F(KeyboardTest, SymbolKeysPickTheirKeyByShift) {
    for (const SymbolCase& c : kSymbolKeys) {
        SCOPED_TRACE(c.vk);
        KeyDown(c.vk);
        EXPECT_KEYS("SYM", c.plain);
        KeyUp(c.vk);
        EXPECT_NO_KEYS();

        KeyDown(vk::kShift);
        KeyDown(c.vk);
        EXPECT_KEYS("SHIFT", "SYM", c.shifted);
        KeyUp(c.vk);
        EXPECT_KEYS("SHIFT");
        KeyUp(vk::kShift);
        EXPECT_NO_KEYS();
    }
}

TEST_F(KeyboardTest, ShiftSemicolonIsSymbolShiftZ) {
    KeyDown(vk::kShift);
    EXPECT_TRUE(shiftHeld);
    KeyDown(vk::kSemicolon);
    EXPECT_KEYS("SHIFT", "SYM", "Z");
    // Releasing ';' first frees SYMBOL SHIFT, Z and O; SHIFT stays with the PC Shift key.
    KeyUp(vk::kSemicolon);
    EXPECT_KEYS("SHIFT");
    KeyUp(vk::kShift);
    EXPECT_FALSE(shiftHeld);
    EXPECT_EQ(machine.keyMatrix[0], 0xFF);
    EXPECT_NO_KEYS();
}

TEST_F(KeyboardTest, SymbolReleaseFreesBothCandidatesWhenShiftChangesMidway) {
    KeyDown(vk::kEquals); // '=' : SYM + L
    KeyDown(vk::kShift);
    KeyDown('K'); // K held on its own as well
    EXPECT_KEYS("SYM", "L", "SHIFT", "K");
    KeyUp(vk::kEquals); // frees SYM, L and the shifted K
    EXPECT_KEYS("SHIFT");
}

TEST_F(KeyboardTest, CombinedKeys) {
    KeyDown(vk::kShift);
    KeyDown('A');
    EXPECT_KEYS("SHIFT", "A");
    KeyUp('A');
    EXPECT_KEYS("SHIFT");
    KeyUp(vk::kShift);

    KeyDown(vk::kControl);
    EXPECT_TRUE(symbolHeld);
    KeyDown('P');
    EXPECT_KEYS("SYM", "P");
    KeyUp('P');
    KeyUp(vk::kControl);
    EXPECT_FALSE(symbolHeld);
    EXPECT_NO_KEYS();

    // Two plain keys in one half-row, released one at a time.
    KeyDown('1');
    KeyDown('5');
    KeyDown(vk::kUp); // SHIFT + 6
    EXPECT_KEYS("1", "5", "SHIFT", "6");
    KeyUp('1');
    EXPECT_KEYS("5", "SHIFT", "6");
    KeyUp(vk::kUp);
    EXPECT_KEYS("5");
}

TEST_F(KeyboardTest, ReleasingShiftFreesSymbolShiftToo) {
    KeyDown(vk::kControl);
    KeyDown(vk::kShift);
    KeyDown('X');
    KeyUp(vk::kShift); // the whole of half-row 0
    EXPECT_NO_KEYS();
    EXPECT_TRUE(symbolHeld); // the flag follows the Ctrl key alone
}

TEST_F(KeyboardTest, PadPlusLeavesNothingDown) {
    KeyDown(vk::kPadAdd);
    KeyDown(vk::kPadAdd); // auto-repeat
    KeyUp(vk::kPadAdd);
    EXPECT_NO_KEYS();
}

TEST_F(KeyboardTest, IgnoredWhileASpoolTypes) {
    KeyDown('A');
    spool.spoolActive = true;
    KeyDown('B');
    KeyUp('A');
    KeyDown(vk::kShift);
    EXPECT_KEYS("A");
    EXPECT_FALSE(shiftHeld);
    spool.spoolActive = false;
    KeyUp('A');
    EXPECT_NO_KEYS();
}

TEST_F(KeyboardTest, ReleaseAllKeysKeepsTheFlags) {
    KeyDown(vk::kShift);
    KeyDown(vk::kControl);
    KeyDown('M');
    KeyDown(vk::kReturn);
    ReleaseAllKeys();
    EXPECT_NO_KEYS();
    EXPECT_TRUE(shiftHeld);
    EXPECT_TRUE(symbolHeld);
}

TEST_F(KeyboardTest, CodesOutsideTheVirtualKeyRangeAreIgnored) {
    KeyDown(vk::kShift);
    KeyDown(-1);
    KeyDown(0x100 + 'A');
    KeyUp(0x1FF);
    EXPECT_KEYS("SHIFT");
}

} // namespace

namespace {

TEST(KeyboardCharacterTest, PcCharactersThatTheAceHas) {
    for (char32_t c = 0x21; c <= 0x7E; ++c)
        EXPECT_EQ(AceCodeForCharacter(c), int(c));
    EXPECT_EQ(AceCodeForCharacter(U'\u00A3'), 96);  // pound sign
    EXPECT_EQ(AceCodeForCharacter(U'\u00A9'), 127); // copyright sign
    // Space and Return go by key; characters the Ace lacks type nothing.
    for (char32_t none : {U' ', U'\r', U'\t', U'\u00E9', U'\u20AC', U'\u00A7'})
        EXPECT_EQ(AceCodeForCharacter(none), -1) << uint32_t(none);
}

} // namespace
