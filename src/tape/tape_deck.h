// The tape deck: TAP tapes delivered through the ROM's load routine (the ED FC trap),
// the ROM's SAVE written to TAP files (the ED FD trap), and TZX tapes played as a signal.
#pragma once

#include <cstdint>

extern bool tzxInserted;
extern bool tzxPlaying;
extern uint8_t tapeLevel;
extern bool opt_fastloadtzx;

bool TapeInDeck();
void EjectTape();

// ED FC: only while a tape is in the deck; returns false (and does nothing) without one.
bool TapeLoadTrap();
// ED FD: the ROM's SAVE, with the length in DE and the address in HL.
void TapeSaveTrap();

void StartTzxPlayback();
void TapeTick(uint32_t tstates);
