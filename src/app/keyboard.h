// The Ace's keyboard as the PC drives it.
//
// The Ace reads forty keys as eight half-rows of five (machine.keyMatrix, active low).
// The platform front end turns each PC key event into a Windows virtual-key code
// (app/virtual_keys.h) and calls KeyDown / KeyUp, but only while the main window has
// the keyboard focus; both are ignored while a spool file is being typed. Most keys go
// through KeyMapTable (one Ace key each); the arrows, Backspace/Delete, the numeric pad
// operators and the PC symbol keys press two Ace keys (SHIFT or SYMBOL SHIFT and one
// more), chosen so that the Ace types what the PC key shows.
//
// The Keyboard Helper (qt/keyboard_helper_window.h) clicks Ace keys with the mouse; its
// buttons are kAceKeys (machine/ace_keyboard.h). Its typing switch `helperTyping` and
// its pending character `helperPendingCharacter` live with the spool (tape/spool.h):
// the frame driver types that character through TypeHelperCharacter on a six-frame
// cycle while the switch is on.
#pragma once

#include <array>
#include <cstdint>

#include "machine/ace_keyboard.h"

// Default handling of a virtual-key code: the key it stands for (0 when none), the
// half-row, and the masks ANDed into that half-row on press and ORed in on release.
// An unmapped code presses nothing and, on release, frees all of half-row 0.
struct KeyMapEntry {
    uint8_t code;
    uint8_t halfRow;
    uint8_t pressMask;
    uint8_t releaseMask;
};
extern const std::array<KeyMapEntry, 256> KeyMapTable;

extern bool shiftHeld;  // the PC Shift key is down: symbol keys type their shifted symbol
extern bool symbolHeld; // the PC Ctrl key is down, or the helper's SYMBOL SHIFT is toggled on

void KeyDown(int virtualKey);
void KeyUp(int virtualKey);

// A PC key typing a printable character presses the Ace keys of that character, found
// through the character-to-key table (machine/ace_keyboard.h), so that every character
// the Ace has types as itself on any PC layout. The character decides SHIFT: the PC's
// Shift, which may have been needed for the character, is lifted while the key is down
// and put back when it comes up.
void CharacterKeyDown(const KeyChord& keys);
void CharacterKeyUp(const KeyChord& keys);
// The Ace character code a PC character types: printable ASCII as itself, the pound
// sign as the Ace's pound (96), the copyright sign as 127; -1 when the Ace has none.
int AceCodeForCharacter(char32_t character);

// The PC keys for the Ace's SHIFTed editing keys that no character types (listed in the
// Help box): Insert GRAPHICS, Page Up INVERSE VIDEO, Page Down TRUE VIDEO, End DELETE
// LINE, Caps Lock CAPS LOCK; the arrows, Backspace and Delete as on the Ace's own keys.
struct EditingKeyName {
    const char* pcKey;
    const char* aceKey;
};
constexpr EditingKeyName kEditingKeyNames[] = {
    {"Arrow keys", "cursor left, right, up, down"},
    {"Backspace, Delete", "DELETE"},
    {"Caps Lock", "CAPS LOCK"},
    {"Insert", "GRAPHICS"},
    {"Page Up", "INVERSE VIDEO"},
    {"Page Down", "TRUE VIDEO"},
    {"End", "DELETE LINE"},
    {"Shift + Space", "BREAK"},
    {"Ctrl + a key", "SYMBOL SHIFT + that key"},
};

// Every key up, both flags clear, no key event waiting, the Keyboard Helper's state
// cleared (start-up, tests).
void ResetKeyboard();

// ---- Keyboard Helper ----

// The helper's 40 buttons, numbered 0-39 in the Ace keyboard's order (window control
// ids are 700 plus the number): 1-9 and 0, Q-P, A-L, ENTER, SHIFT, Z-M, SYMBOL SHIFT, SPACE.
constexpr int kHelperButtonCount = kAceKeyCount;
constexpr int kHelperFirstControlId = 700;
constexpr int kHelperEnterButton = AceKeyIndex(kAceEnter);
constexpr int kHelperShiftButton = AceKeyIndex(kAceShift);
constexpr int kHelperSymbolShiftButton = AceKeyIndex(kAceSymbolShift);
constexpr int kHelperSpaceButton = AceKeyIndex(kAceSpace);

// The Ace key under each helper button.
AceKey HelperButtonKey(int button);

extern bool helperShift; // the helper's own SHIFT toggle

// The character a button types under the helper's toggles (0 for SHIFT and SYMBOL SHIFT).
uint8_t HelperCharacter(int button, bool shift, bool symbol);

// Opening the helper turns typing on, restarts the frame driver's typing cycle and
// clears both toggles; closing it turns typing off.
void OpenHelperTyping();
void CloseHelperTyping();

// A left-button press on a helper button: SHIFT and SYMBOL SHIFT flip their toggles,
// any other button makes its character the pending one. Every press turns typing on.
void HelperButtonDown(int button);
