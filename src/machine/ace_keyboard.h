// The Jupiter Ace's keyboard: its forty keys, where each sits in the keyboard matrix,
// what it types alone, with SHIFT and with SYMBOL SHIFT, and what is printed on it.
// Spool typing, the Keyboard Helper, the PC key map and the keyboard picture all read
// kAceKeys, so a key is written down once.
//
// The Ace reads its keys as eight half-rows of five (machine.keyMatrix, active low):
//   half-row 0: SHIFT SYM Z X C         4: 0 9 8 7 6
//            1: A S D F G               5: P O I U Y
//            2: Q W E R T               6: ENTER L K J H
//            3: 1 2 3 4 5               7: SPACE M N B V
//
// Usage: AceDigitKey(7), AceLetterKey('Q') and the four named keys give an AceKey;
// PressAceKey / ReleaseAceKey / AceKeyDown work on the matrix. SpoolCharacterKeys gives
// the keys that type a character (a KeyChord), PressKeys presses them together.
// ReleaseAllKeys lets go of every key.
#pragma once

#include <cstdint>

// One key of the Ace: its half-row in keyMatrix and its bit (0-4) in that byte.
struct AceKey {
    uint8_t row;
    uint8_t bit;
    constexpr uint8_t Mask() const { return uint8_t(1u << bit); }
    constexpr bool operator==(const AceKey&) const = default;
};

constexpr AceKey kAceShift{0, 0};
constexpr AceKey kAceSymbolShift{0, 1};
constexpr AceKey kAceEnter{6, 0};
constexpr AceKey kAceSpace{7, 0};

// A key as the keyboard shows it. Characters are Ace character codes; 0 means none.
struct AceKeyCap {
    AceKey key;
    const char* legend;        // printed on the key: "1", "Q", "ENTER", "SYMBOL\nSHIFT"
    uint8_t character;         // typed alone: the digit, the lower-case letter, CR, space
    uint8_t shifted;           // typed with SHIFT: the upper-case letter or a digit's editing code
    uint8_t symbol;            // typed with SYMBOL SHIFT
    const char* shiftedLegend; // printed under a digit; "<", ">", "^", "v" are the arrows
};

// Table rows, by the kind of key.
constexpr AceKeyCap DigitCap(const char* digit, AceKey key, uint8_t editingCode, char symbol,
                             const char* shiftedLegend) {
    return {key, digit, uint8_t(digit[0]), editingCode, uint8_t(symbol), shiftedLegend};
}
constexpr AceKeyCap LetterCap(const char* upper, AceKey key, uint8_t symbol = 0) {
    return {key, upper, uint8_t(upper[0] - 'A' + 'a'), uint8_t(upper[0]), symbol, ""};
}
constexpr AceKeyCap NamedCap(const char* legend, AceKey key, uint8_t character) {
    return {key, legend, character, character, 0, ""};
}

// The keys in their places, left to right, top row first (the Keyboard Helper's button
// numbers). A digit's editing code is what SHIFT gives it on the Ace (12 DELETE LINE,
// 11 CAPS LOCK, 4 INVERSE VIDEO, 5-8 the cursor keys, 9 GRAPHICS, 10 DELETE); the Ace
// shows its codes 96 and 127 as a pound and a copyright sign (AceGlyph).
constexpr int kAceKeyCount = 40;
inline constexpr AceKeyCap kAceKeys[kAceKeyCount] = {
    DigitCap("1", {3, 0}, 12, '!', "DELETE LINE"),
    DigitCap("2", {3, 1}, 11, '@', "CAPS LOCK"),
    DigitCap("3", {3, 2}, 0, '#', ""),
    DigitCap("4", {3, 3}, 4, '$', "INV VIDEO"),
    DigitCap("5", {3, 4}, 5, '%', "<"),
    DigitCap("6", {4, 4}, 6, '&', "^"),
    DigitCap("7", {4, 3}, 7, '\'', "v"),
    DigitCap("8", {4, 2}, 8, '(', ">"),
    DigitCap("9", {4, 1}, 9, ')', "GRAPHICS"),
    DigitCap("0", {4, 0}, 10, '_', "DELETE"),
    LetterCap("Q", {2, 0}),
    LetterCap("W", {2, 1}),
    LetterCap("E", {2, 2}),
    LetterCap("R", {2, 3}, '<'),
    LetterCap("T", {2, 4}, '>'),
    LetterCap("Y", {5, 4}, '['),
    LetterCap("U", {5, 3}, ']'),
    LetterCap("I", {5, 2}, 127),
    LetterCap("O", {5, 1}, ';'),
    LetterCap("P", {5, 0}, '"'),
    LetterCap("A", {1, 0}, '~'),
    LetterCap("S", {1, 1}, '|'),
    LetterCap("D", {1, 2}, '\\'),
    LetterCap("F", {1, 3}, '{'),
    LetterCap("G", {1, 4}, '}'),
    LetterCap("H", {6, 4}, '^'),
    LetterCap("J", {6, 3}, '-'),
    LetterCap("K", {6, 2}, '+'),
    LetterCap("L", {6, 1}, '='),
    NamedCap("ENTER", kAceEnter, 13),
    NamedCap("SHIFT", kAceShift, 0),
    LetterCap("Z", {0, 2}, ':'),
    LetterCap("X", {0, 3}, 96),
    LetterCap("C", {0, 4}, '?'),
    LetterCap("V", {7, 4}, '/'),
    LetterCap("B", {7, 3}, '*'),
    LetterCap("N", {7, 2}, ','),
    LetterCap("M", {7, 1}, '.'),
    NamedCap("SYMBOL\nSHIFT", kAceSymbolShift, 0),
    NamedCap("SPACE", kAceSpace, ' '),
};

// The place of a key in kAceKeys; -1 if it is not there.
constexpr int AceKeyIndex(AceKey key) {
    for (int i = 0; i < kAceKeyCount; ++i)
        if (kAceKeys[i].key == key) return i;
    return -1;
}
// The key that types `character` alone.
constexpr AceKey AceCharacterKey(uint8_t character) {
    for (const AceKeyCap& cap : kAceKeys)
        if (cap.character == character) return cap.key;
    return kAceSpace;
}
// Digits 0-9.
constexpr AceKey AceDigitKey(int digit) {
    return AceCharacterKey(uint8_t('0' + digit));
}
// Letters 'A'-'Z' (upper case).
constexpr AceKey AceLetterKey(char letter) {
    return AceCharacterKey(uint8_t(letter - 'A' + 'a'));
}

// The Ace's character set is ASCII but for two codes.
constexpr char32_t kAcePoundSign = U'\u00A3';     // code 96
constexpr char32_t kAceCopyrightSign = U'\u00A9'; // code 127
// The character the Ace shows for a code.
constexpr char32_t AceGlyph(uint8_t code) {
    return code == 96 ? kAcePoundSign : code == 127 ? kAceCopyrightSign : char32_t(code);
}

void PressAceKey(AceKey key);
void ReleaseAceKey(AceKey key);
bool AceKeyDown(AceKey key);
void ReleaseAllKeys(); // all eight half-rows back to 0xFF (no key down)

// Keys pressed together, as half-row masks: keyMatrix[n] &= ~rows[n].
struct KeyChord {
    uint8_t rows[8];
    void Add(AceKey key) { rows[key.row] |= key.Mask(); }
    bool Empty() const;
};
// The character-to-key table that spool typing and the Keyboard Helper share: letters,
// digits, CR, space and the SYMBOL SHIFT symbols. False for characters the Ace has no
// key for (a line feed among them).
bool SpoolCharacterKeys(uint8_t code, KeyChord& keys);
// The SHIFTed digit that gives a control code 4-12 (DELETE, the cursor keys and the
// like); false for other codes.
bool EditingCodeKeys(uint8_t code, KeyChord& keys);
void PressKeys(const KeyChord& keys); // ANDs into keyMatrix, releasing nothing
