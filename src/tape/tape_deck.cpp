#include "tape/tape_deck.h"

bool tzxInserted = false;
bool tzxPlaying = false;
uint8_t tapeLevel = 0;
bool opt_fastloadtzx = true;

// The deck is empty until tapes can be inserted.
bool TapeInDeck() { return false; }
void EjectTape() {}
bool TapeLoadTrap() { return false; }
void TapeSaveTrap() {}
void StartTzxPlayback() {}
void TapeTick(uint32_t) {}
