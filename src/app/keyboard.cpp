#include "app/keyboard.h"

#include "app/key_queue.h"
#include "app/virtual_keys.h"
#include "machine/machine_state.h"
#include "machine/rom_keyboard.h"
#include "tape/spool.h"

bool shiftHeld = false;
bool symbolHeld = false;

bool helperShift = false;

namespace {

constexpr AceKey Letter(char c) {
    return AceLetterKey(c);
}
constexpr AceKey Digit(int d) {
    return AceDigitKey(d);
}

constexpr KeyMapEntry Mapped(uint8_t code, AceKey key) {
    return {code, key.row, uint8_t(~key.Mask()), key.Mask()};
}

constexpr std::array<KeyMapEntry, 256> BuildKeyMapTable() {
    std::array<KeyMapEntry, 256> table{};
    for (auto& entry : table)
        entry = {0, 0, 0xFF, 0xFF};
    for (int d = 0; d <= 9; ++d) {
        table[vk::Digit(d)] = Mapped(vk::Digit(d), Digit(d));
        table[vk::PadDigit(d)] = Mapped(vk::PadDigit(d), Digit(d));
    }
    for (char c = 'A'; c <= 'Z'; ++c)
        table[uint8_t(c)] = Mapped(uint8_t(c), Letter(c));
    table[vk::kReturn] = Mapped(vk::kReturn, kAceEnter);
    table[vk::kSpace] = Mapped(vk::kSpace, kAceSpace);
    table[vk::kLeftShift] = Mapped(vk::kLeftShift, kAceShift);
    table[vk::kRightShift] = Mapped(vk::kRightShift, kAceShift);
    table[vk::kLeftControl] = Mapped(vk::kLeftControl, kAceSymbolShift);
    table[vk::kRightControl] = Mapped(vk::kRightControl, kAceSymbolShift);
    return table;
}

// PC keys that press a shift key of the Ace together with one other key. The symbol
// keys choose their second key by the PC Shift key, so that "=" types = and Shift+"="
// types +. Releasing frees the shift key and both candidates: Shift may have changed
// between press and release.
struct TwoKeyRule {
    uint8_t vk;
    AceKey modifier;
    AceKey plain;
    AceKey shifted;
};

constexpr TwoKeyRule kTwoKeyRules[] = {
    // Ace cursor and delete keys are SHIFTed digits.
    {vk::kBackspace, kAceShift, Digit(0), Digit(0)},
    {vk::kDelete, kAceShift, Digit(0), Digit(0)},
    {vk::kLeft, kAceShift, Digit(5), Digit(5)},
    {vk::kUp, kAceShift, Digit(6), Digit(6)},
    {vk::kDown, kAceShift, Digit(7), Digit(7)},
    {vk::kRight, kAceShift, Digit(8), Digit(8)},
    // The other SHIFTed digits, which no PC character reaches.
    {vk::kCapsLock, kAceShift, Digit(2), Digit(2)},
    {vk::kInsert, kAceShift, Digit(9), Digit(9)},
    // The ROM's INVERSE VIDEO (SHIFT+4) flips the video of what is typed; SHIFT+3 types
    // a plain 3. So Page Up and Page Down both press INVERSE VIDEO, and only when it
    // takes the video where the key says: Page Up inverse, Page Down TRUE VIDEO.
    {vk::kPageUp, kAceShift, Digit(4), Digit(4)},
    {vk::kPageDown, kAceShift, Digit(4), Digit(4)},
    {vk::kEnd, kAceShift, Digit(1), Digit(1)},
    // Numeric pad operators.
    {vk::kPadMultiply, kAceSymbolShift, Letter('B'), Letter('B')},
    {vk::kPadAdd, kAceSymbolShift, Letter('K'), Letter('K')},
    {vk::kPadSubtract, kAceSymbolShift, Letter('J'), Letter('J')},
    {vk::kPadDecimal, kAceSymbolShift, Letter('M'), Letter('M')},
    {vk::kPadDivide, kAceSymbolShift, Letter('V'), Letter('V')},
    // Symbol keys of a UK keyboard: plain symbol, Shift symbol.
    {vk::kSemicolon, kAceSymbolShift, Letter('O'), Letter('Z')},    // ; :
    {vk::kEquals, kAceSymbolShift, Letter('L'), Letter('K')},       // = +
    {vk::kComma, kAceSymbolShift, Letter('N'), Letter('R')},        // , <
    {vk::kMinus, kAceSymbolShift, Letter('J'), Digit(0)},           // - _
    {vk::kPeriod, kAceSymbolShift, Letter('M'), Letter('T')},       // . >
    {vk::kSlash, kAceSymbolShift, Letter('V'), Letter('C')},        // / ?
    {vk::kApostrophe, kAceSymbolShift, Digit(7), Digit(2)},         // ' @
    {vk::kOpenBracket, kAceSymbolShift, Letter('Y'), Letter('F')},  // [ {
    {vk::kBackslash, kAceSymbolShift, Letter('D'), Letter('S')},    // \ |
    {vk::kCloseBracket, kAceSymbolShift, Letter('U'), Letter('G')}, // ] }
    {vk::kHash, kAceSymbolShift, Digit(3), Letter('A')},            // # ~
};

// Page Up and Page Down choose the video; pressing INVERSE VIDEO in the video chosen
// already would flip it back.
bool VideoAlreadyChosen(int virtualKey) {
    if (virtualKey != vk::kPageUp && virtualKey != vk::kPageDown) return false;
    return rom_keyboard::StatinFlag(rom_keyboard::kInverseVideo) == (virtualKey == vk::kPageUp);
}

const TwoKeyRule* FindTwoKeyRule(int virtualKey) {
    for (const TwoKeyRule& rule : kTwoKeyRules)
        if (rule.vk == virtualKey) return &rule;
    return nullptr;
}

} // namespace

const std::array<KeyMapEntry, 256> KeyMapTable = BuildKeyMapTable();

void KeyDown(int virtualKey) {
    // A spool owns the matrix while it types; a PC key would corrupt its characters.
    if (spool.spoolActive || virtualKey < 0 || virtualKey > 0xFF) return;
    if (virtualKey == vk::kShift) {
        PressAceKey(kAceShift);
        shiftHeld = true;
        return;
    }
    if (virtualKey == vk::kControl) {
        PressAceKey(kAceSymbolShift);
        symbolHeld = true;
        return;
    }
    if (const TwoKeyRule* rule = FindTwoKeyRule(virtualKey)) {
        if (VideoAlreadyChosen(virtualKey)) return;
        // Shift stays down with the symbol: the Ace ignores SHIFT under SYMBOL SHIFT.
        PressAceKey(rule->modifier);
        PressAceKey(shiftHeld ? rule->shifted : rule->plain);
        return;
    }
    const KeyMapEntry& entry = KeyMapTable[virtualKey];
    machine.keyMatrix[entry.halfRow] &= entry.pressMask;
}

void KeyUp(int virtualKey) {
    if (spool.spoolActive || virtualKey < 0 || virtualKey > 0xFF) return;
    if (virtualKey == vk::kShift || virtualKey == vk::kControl) {
        machine.keyMatrix[0] = 0xFF;
        (virtualKey == vk::kShift ? shiftHeld : symbolHeld) = false;
        return;
    }
    if (const TwoKeyRule* rule = FindTwoKeyRule(virtualKey)) {
        ReleaseAceKey(rule->modifier);
        ReleaseAceKey(rule->plain);
        ReleaseAceKey(rule->shifted);
        return;
    }
    const KeyMapEntry& entry = KeyMapTable[virtualKey];
    machine.keyMatrix[entry.halfRow] |= entry.releaseMask;
}

void CharacterKeyDown(const KeyChord& keys) {
    if (spool.spoolActive) return;
    if (!(keys.rows[kAceShift.row] & kAceShift.Mask())) ReleaseAceKey(kAceShift);
    PressKeys(keys);
}

void CharacterKeyUp(const KeyChord& keys) {
    if (spool.spoolActive) return;
    for (int row = 0; row < 8; ++row)
        machine.keyMatrix[row] |= keys.rows[row];
    // The PC's Shift and Ctrl may still be down for the next key.
    if (shiftHeld) PressAceKey(kAceShift);
    if (symbolHeld) PressAceKey(kAceSymbolShift);
}

int AceCodeForCharacter(char32_t character) {
    if (character >= 0x21 && character <= 0x7E) return int(character);
    if (character == kAcePoundSign) return 96;
    if (character == kAceCopyrightSign) return 127;
    return -1;
}

void ResetKeyboard() {
    ClearKeyQueue();
    ReleaseAllKeys();
    shiftHeld = symbolHeld = false;
    helperShift = false;
    spool.helperTyping = false;
    spool.helperPendingCharacter = 0;
}

// ---- Keyboard Helper ----

namespace {

bool ValidButton(int button) {
    return button >= 0 && button < kHelperButtonCount;
}

} // namespace

AceKey HelperButtonKey(int button) {
    return ValidButton(button) ? kAceKeys[button].key : kAceSpace;
}

uint8_t HelperCharacter(int button, bool shift, bool symbol) {
    if (!ValidButton(button)) return 0;
    const AceKeyCap& cap = kAceKeys[button];
    // The helper has no cursor keys: SHIFT on 5 to 8 types the digit, as on 3.
    const bool cursor = cap.shifted >= 5 && cap.shifted <= 8;
    const uint8_t shifted = cap.shifted && !cursor ? cap.shifted : cap.character;
    // A key without a symbol (Q, W, E, ENTER, SPACE) types its SHIFTed character under
    // SYMBOL SHIFT; both shifts together type the plain character of a key with one.
    if (symbol) return cap.symbol ? (shift ? cap.character : cap.symbol) : shifted;
    return shift ? shifted : cap.character;
}

void OpenHelperTyping() {
    spool.helperTyping = true;
    spool.typingCounter = 0;
    helperShift = false;
    symbolHeld = false;
}

void CloseHelperTyping() {
    spool.helperTyping = false;
}

void HelperButtonDown(int button) {
    if (!ValidButton(button)) return;
    if (button == kHelperShiftButton)
        helperShift = !helperShift;
    else if (button == kHelperSymbolShiftButton)
        symbolHeld = !symbolHeld;
    else
        spool.helperPendingCharacter = HelperCharacter(button, helperShift, symbolHeld);
    spool.helperTyping = true;
}
