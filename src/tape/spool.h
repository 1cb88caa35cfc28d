// Spool typing: a text typed into the Ace key by key, one character per cycle of
// `opt_spool_speed` frames, through the keyboard matrix.
#pragma once

#include <cstdint>
#include <string>

extern bool spoolActive;
extern int spoolLeft;
extern int spoolPos;
extern int typingCounter; // shared with the Keyboard Helper's typing
extern uint8_t opt_spool_speed;

void StartSpool(const char* text, int length);
inline void StartSpool(const std::string& text) { StartSpool(text.data(), int(text.size())); }
void SpoolStep();
void ClearSpool(); // stops typing at its next step
void TypeHelperCharacter(uint8_t code);
