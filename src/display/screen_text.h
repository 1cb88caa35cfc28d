// The Ace's screen as text, read from video RAM (0x2400): 24 lines of 32 character
// codes, bit 7 (inverse video) cleared, codes 32-126 as ASCII and others as '.'.
// Used by noltace-headless (--screen, --until) and by tests that read the screen.
#pragma once

#include <string>

// One line, trailing spaces removed.
std::string ScreenLine(int row);
// The 24 lines, each ended by '\n'.
std::string ScreenText();
