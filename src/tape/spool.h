// Spool typing: a text typed into the Ace key by key through the keyboard matrix, at the
// pace the ROM takes keys (machine/rom_keyboard.h), as the PC key queue types: each
// character goes down when the ROM is ready for it and comes up when the ROM has taken
// it, and after ENTER the next waits until the ROM has dealt with the line, so no line
// is lost however long it takes to compile. `opt_spool_speed` is the least number of
// frames a character takes.
//
// Usage: StartSpool(text) makes a text the typed input (it replaces any spool in
// progress); the frame driver calls SpoolFrameEnded() after every frame while
// `spoolActive`. A line ends in ENTER whether it ends in CR, LF or CR LF; bytes the Ace
// has no key for are skipped. CancelSpool() stops it at once. The Keyboard Helper
// types single characters with TypeHelperCharacter on its own six-frame cycle: it sets
// `helperTyping` and puts the character in `helperPendingCharacter`.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "machine/ace_keyboard.h" // KeyChord
#include "machine/rom_keyboard.h"

extern uint8_t opt_spool_speed; // least frames per typed character, 1 to 20
constexpr uint8_t kDefaultSpoolSpeed = 8;

struct SpoolState {
    bool spoolActive = false; // while set, PC keyboard input is ignored
    int spoolLeft = 0;        // characters not yet typed
    int spoolPos = 0;         // index of the next character
    int typingCounter = 0;    // the Keyboard Helper's typing cycle
    // The Keyboard Helper's typing switch and the character it waits to type (0 = none).
    bool helperTyping = false;
    uint8_t helperPendingCharacter = 0;
    std::vector<char> spoolText;
    KeyChord spoolKeys{};   // the character down now
    RomKeyPacer spoolPacer; // the same pace as keys typed on the PC
    int leastFrames = -1;   // least frames per character; -1 = opt_spool_speed

    // No spool, no helper typing, default speed (the speed is a setting kept here).
    void Reset();
};
extern SpoolState spool;

void StartSpool(const char* text, int length);
inline void StartSpool(const std::string& text) {
    StartSpool(text.data(), int(text.size()));
}
// Text pasted from the PC: as fast as the ROM takes keys, without the spool speed.
void StartSpool(const std::string& text, int leastFramesPerCharacter);
// Presses the keys of the next character the Ace has keys for; false when none is left.
bool SpoolStep();
void SpoolFrameEnded();
void ClearSpool();  // stops typing once the character down now is taken
void CancelSpool(); // stops typing now, every key up
// How much of the text has been typed, 0 to 100.
int SpoolPercent();
// Frames the rest of the spool can take at most (the bound of a loop that waits for it).
long SpoolFrameBound();
void TypeHelperCharacter(uint8_t code);
