// Qt key events into PC key codes, and on into the Ace's keys.
#include <QKeyEvent>

#include <gtest/gtest.h>

#include <initializer_list>

#include "app/keyboard.h"
#include "app/qt/qt_key_map.h"
#include "app/virtual_keys.h"
#include "machine/machine_state.h"
#include "tape/spool.h"

namespace {

QtKeyRoute Route(int key, Qt::KeyboardModifiers mods = Qt::NoModifier, quint32 scan = 0) {
    return RouteForQtKey(key, mods, scan);
}
QtKeyRoute Plain(int vk) { return {vk, -1, -1}; }

TEST(QtKeyMap, OneToOneKeys) {
    EXPECT_EQ(Route(Qt::Key_A), Plain('A'));
    EXPECT_EQ(Route(Qt::Key_Z, Qt::ShiftModifier), Plain('Z'));
    EXPECT_EQ(Route(Qt::Key_P, Qt::ControlModifier), Plain('P'));
    EXPECT_EQ(Route(Qt::Key_0), Plain('0'));
    EXPECT_EQ(Route(Qt::Key_7), Plain('7'));
    EXPECT_EQ(Route(Qt::Key_Space), Plain(vk::kSpace));
    EXPECT_EQ(Route(Qt::Key_Return), Plain(vk::kReturn));
    EXPECT_EQ(Route(Qt::Key_Enter, Qt::KeypadModifier), Plain(vk::kReturn));
    EXPECT_EQ(Route(Qt::Key_Shift), Plain(vk::kShift));
    EXPECT_EQ(Route(Qt::Key_Control), Plain(vk::kControl));
    EXPECT_EQ(Route(Qt::Key_Backspace), Plain(vk::kBackspace));
    EXPECT_EQ(Route(Qt::Key_Delete), Plain(vk::kDelete));
    EXPECT_EQ(Route(Qt::Key_Left), Plain(vk::kLeft));
    EXPECT_EQ(Route(Qt::Key_Up), Plain(vk::kUp));
    EXPECT_EQ(Route(Qt::Key_Right), Plain(vk::kRight));
    EXPECT_EQ(Route(Qt::Key_Down), Plain(vk::kDown));
    EXPECT_EQ(Route(Qt::Key_F1), Plain(0x70));
    EXPECT_EQ(Route(Qt::Key_F12), Plain(0x7B));
    EXPECT_EQ(Route(Qt::Key_Escape), Plain(vk::kEscape));
    EXPECT_EQ(Route(Qt::Key_unknown), QtKeyRoute{});
    EXPECT_EQ(Route(Qt::Key_Eacute), QtKeyRoute{});
}

TEST(QtKeyMap, NumericPad) {
    for (int d = 0; d <= 9; ++d) EXPECT_EQ(Route(Qt::Key_0 + d, Qt::KeypadModifier), Plain(0x60 + d));
    EXPECT_EQ(Route(Qt::Key_Asterisk, Qt::KeypadModifier), Plain(vk::kPadMultiply));
    EXPECT_EQ(Route(Qt::Key_Plus, Qt::KeypadModifier), Plain(vk::kPadAdd));
    EXPECT_EQ(Route(Qt::Key_Minus, Qt::KeypadModifier), Plain(vk::kPadSubtract));
    EXPECT_EQ(Route(Qt::Key_Period, Qt::KeypadModifier), Plain(vk::kPadDecimal));
    EXPECT_EQ(Route(Qt::Key_Comma, Qt::KeypadModifier), Plain(vk::kPadDecimal));
    EXPECT_EQ(Route(Qt::Key_Slash, Qt::KeypadModifier), Plain(vk::kPadDivide));
    // Num Lock off: the pad's navigation keys.
    EXPECT_EQ(Route(Qt::Key_Home, Qt::KeypadModifier), Plain(vk::kHome));
    EXPECT_EQ(Route(Qt::Key_Up, Qt::KeypadModifier), Plain(vk::kUp));
}

TEST(QtKeyMap, DigitRowGoesByPositionWhateverItTypes) {
    // X11 key codes 10-19 are 1-9 and 0; Shift+2 gives '@' on one layout and '"' on another.
    EXPECT_EQ(Route(Qt::Key_Exclam, Qt::ShiftModifier, 10), Plain('1'));
    EXPECT_EQ(Route(Qt::Key_At, Qt::ShiftModifier, 11), Plain('2'));
    EXPECT_EQ(Route(Qt::Key_QuoteDbl, Qt::ShiftModifier, 11), Plain('2'));
    EXPECT_EQ(Route(Qt::Key_ParenRight, Qt::ShiftModifier, 19), Plain('0'));
    EXPECT_EQ(Route(Qt::Key_Ampersand, Qt::NoModifier, 10), Plain('1')); // AZERTY's unshifted 1
    EXPECT_EQ(Route(Qt::Key_5, Qt::KeypadModifier, 84), Plain(0x65));
    EXPECT_EQ(Route(Qt::Key_A, Qt::NoModifier, 38), Plain('A'));
}

TEST(QtKeyMap, SymbolsNameTheirUkKeyAndTheirAceKey) {
    const struct {
        int qtKey, vk, shifted, symbolKey;
    } cases[] = {
        {Qt::Key_Semicolon, 0xBA, 0, 'O'},  {Qt::Key_Colon, 0xBA, 1, 'Z'},      {Qt::Key_Equal, 0xBB, 0, 'L'},
        {Qt::Key_Plus, 0xBB, 1, 'K'},       {Qt::Key_Comma, 0xBC, 0, 'N'},      {Qt::Key_Less, 0xBC, 1, 'R'},
        {Qt::Key_Minus, 0xBD, 0, 'J'},      {Qt::Key_Underscore, 0xBD, 1, '0'}, {Qt::Key_Period, 0xBE, 0, 'M'},
        {Qt::Key_Greater, 0xBE, 1, 'T'},    {Qt::Key_Slash, 0xBF, 0, 'V'},      {Qt::Key_Question, 0xBF, 1, 'C'},
        {Qt::Key_Apostrophe, 0xC0, 0, '7'}, {Qt::Key_At, 0xC0, 1, '2'},         {Qt::Key_BracketLeft, 0xDB, 0, 'Y'},
        {Qt::Key_BraceLeft, 0xDB, 1, 'F'},  {Qt::Key_Backslash, 0xDC, 0, 'D'},  {Qt::Key_Bar, 0xDC, 1, 'S'},
        {Qt::Key_BracketRight, 0xDD, 0, 'U'}, {Qt::Key_BraceRight, 0xDD, 1, 'G'},
        {Qt::Key_NumberSign, 0xDE, 0, '3'}, {Qt::Key_AsciiTilde, 0xDE, 1, 'A'},
        {Qt::Key_Exclam, -1, -1, '1'},      {Qt::Key_QuoteDbl, -1, -1, 'P'},    {Qt::Key_Dollar, -1, -1, '4'},
        {Qt::Key_Percent, -1, -1, '5'},     {Qt::Key_AsciiCircum, -1, -1, 'H'}, {Qt::Key_Ampersand, -1, -1, '6'},
        {Qt::Key_Asterisk, -1, -1, 'B'},    {Qt::Key_ParenLeft, -1, -1, '8'},   {Qt::Key_ParenRight, -1, -1, '9'},
        {Qt::Key_sterling, -1, -1, 'X'},    {Qt::Key_QuoteLeft, -1, -1, 'X'},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Route(c.qtKey), (QtKeyRoute{c.vk, c.shifted, c.symbolKey})) << "Qt key " << c.qtKey;
}

// The router drives the real keyboard handlers; these check the Ace keys it leaves down.
class QtKeyboardInputTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetKeyboard();
        spoolActive = false;
    }
    void TearDown() override { ResetKeyboard(); }

    void Press(int key, Qt::KeyboardModifiers mods = Qt::NoModifier, quint32 scan = 0, bool repeat = false) {
        QKeyEvent e(QEvent::KeyPress, key, mods, scan, 0, 0, QString(), repeat);
        input.KeyPressed(e);
    }
    void Release(int key, Qt::KeyboardModifiers mods = Qt::NoModifier, quint32 scan = 0, bool repeat = false) {
        QKeyEvent e(QEvent::KeyRelease, key, mods, scan, 0, 0, QString(), repeat);
        input.KeyReleased(e);
    }
    static bool Only(std::initializer_list<AceKey> keys) {
        uint8_t expected[8];
        std::fill(std::begin(expected), std::end(expected), 0xFF);
        for (AceKey k : keys) expected[k.row] &= uint8_t(~k.Mask());
        return std::equal(std::begin(expected), std::end(expected), machine.keyMatrix);
    }

    QtKeyboardInput input;
};

const AceKey kA = AceLetterKey('A'), kK = AceLetterKey('K'), kL = AceLetterKey('L'), kP = AceLetterKey('P');
const AceKey kZ = AceLetterKey('Z');

TEST_F(QtKeyboardInputTest, ShiftedSymbolWithoutShiftTypesThroughSymbolShift) {
    // A synthetic '+' (no Shift key went down first): SYMBOL SHIFT + K, not '='.
    Press(Qt::Key_Plus);
    EXPECT_TRUE(Only({kAceSymbolShift, kK}));
    EXPECT_TRUE(symbolHeld);
    Release(Qt::Key_Plus);
    EXPECT_TRUE(Only({}));
    EXPECT_FALSE(symbolHeld);
}

TEST_F(QtKeyboardInputTest, RealShiftUsesTheSymbolKeyTable) {
    Press(Qt::Key_Shift, Qt::ShiftModifier, 50);
    Press(Qt::Key_Plus, Qt::ShiftModifier, 21); // Shift + '=' on a UK or US keyboard
    EXPECT_TRUE(Only({kAceShift, kAceSymbolShift, kK}));
    // Shift let go first: the release is reported as '=' but undoes what '+' pressed.
    Release(Qt::Key_Shift, Qt::NoModifier, 50);
    Release(Qt::Key_Equal, Qt::NoModifier, 21);
    EXPECT_TRUE(Only({}));
}

TEST_F(QtKeyboardInputTest, UnshiftedSymbolUnderShiftKeepsTheShiftKeyDown) {
    // A layout where ';' needs Shift: typed as SYMBOL SHIFT + O, and the Ace's SHIFT
    // comes back afterwards because the PC's Shift is still held.
    Press(Qt::Key_Shift, Qt::ShiftModifier, 50);
    Press(Qt::Key_Semicolon, Qt::ShiftModifier, 59);
    EXPECT_TRUE(Only({kAceShift, kAceSymbolShift, AceLetterKey('O')}));
    Release(Qt::Key_Semicolon, Qt::ShiftModifier, 59);
    EXPECT_TRUE(Only({kAceShift}));
    EXPECT_TRUE(shiftHeld);
    Press(Qt::Key_A, Qt::ShiftModifier, 38);
    EXPECT_TRUE(Only({kAceShift, kA}));
}

TEST_F(QtKeyboardInputTest, CtrlHeldIsNotReleasedByASymbol) {
    Press(Qt::Key_Control, Qt::ControlModifier, 37);
    Press(Qt::Key_QuoteDbl, Qt::ControlModifier);
    EXPECT_TRUE(Only({kAceSymbolShift, kP}));
    Release(Qt::Key_QuoteDbl, Qt::ControlModifier);
    EXPECT_TRUE(Only({kAceSymbolShift}));
    EXPECT_TRUE(symbolHeld);
    Release(Qt::Key_Control, Qt::NoModifier, 37);
    EXPECT_TRUE(Only({}));
}

TEST_F(QtKeyboardInputTest, AutoRepeatKeepsTheKeyDown) {
    Press(Qt::Key_L, Qt::NoModifier, 46);
    Release(Qt::Key_L, Qt::NoModifier, 46, true);
    EXPECT_TRUE(Only({kL}));
    Press(Qt::Key_L, Qt::NoModifier, 46, true);
    EXPECT_TRUE(Only({kL}));
    Release(Qt::Key_L, Qt::NoModifier, 46);
    EXPECT_TRUE(Only({}));
}

TEST_F(QtKeyboardInputTest, ReleaseOfAKeyPressedElsewhereStillReleases) {
    machine.keyMatrix[kZ.row] &= uint8_t(~kZ.Mask());
    Release(Qt::Key_Z);
    EXPECT_TRUE(Only({}));
    EXPECT_FALSE(input.KeyReleased(QKeyEvent(QEvent::KeyRelease, Qt::Key_Eacute, Qt::NoModifier)));
}

TEST_F(QtKeyboardInputTest, DigitRowUnderShiftIsTheAceShiftedDigit) {
    Press(Qt::Key_Shift, Qt::ShiftModifier, 50);
    Press(Qt::Key_ParenRight, Qt::ShiftModifier, 19); // Shift+0: DELETE on the Ace
    EXPECT_TRUE(Only({kAceShift, AceDigitKey(0)}));
}

} // namespace
