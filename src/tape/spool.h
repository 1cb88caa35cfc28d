// Spool typing: a text typed into the Ace key by key, one character per cycle of
// `opt_spool_speed` frames, through the keyboard matrix.
//
// Usage: StartSpool(text) makes a text the typed input (it replaces any spool in
// progress); the frame driver then calls SpoolStep once a cycle, which presses the keys
// of the next character, and releases every key at the cycle's end. A line ends in ENTER
// whether it ends in CR, LF or CR LF. The Keyboard Helper
// types single characters with TypeHelperCharacter on its own six-frame cycle: it sets
// `helperTyping` and puts the character in `helperPendingCharacter`.
#pragma once

#include <cstdint>
#include <string>

extern bool spoolActive;        // while set, PC keyboard input is ignored
extern int spoolLeft;           // characters not yet typed
extern int spoolPos;            // index of the next character
extern int typingCounter;       // frame counter shared with the Keyboard Helper's typing
extern uint8_t opt_spool_speed; // frames per typed character, 1 to 20
constexpr uint8_t kDefaultSpoolSpeed = 8;

// The Keyboard Helper's typing switch and the character it waits to type (0 = none).
extern bool helperTyping;
extern uint8_t helperPendingCharacter;

// The keys a character needs, as half-row masks: keyMatrix[n] &= ~keys.rows[n].
struct KeyChord {
    uint8_t rows[8];
    bool Empty() const;
};
// The spool's character-to-key table: letters, digits, CR, space and the SYMBOL SHIFT
// symbols. False for characters the Ace has no key for (a line feed among them).
bool SpoolCharacterKeys(uint8_t code, KeyChord& keys);
void PressKeys(const KeyChord& keys); // ANDs into keyMatrix, releasing nothing
void ReleaseKeyMatrix();              // all eight half-rows back to 0xFF (no key down)

void StartSpool(const char* text, int length);
inline void StartSpool(const std::string& text) {
    StartSpool(text.data(), int(text.size()));
}
void SpoolStep();
void ClearSpool(); // stops typing at its next step
void TypeHelperCharacter(uint8_t code);
void ResetSpool(); // no spool, no helper typing, default speed (tests and start-up)
