// The Ace's screen as text, read from video RAM (0x2400): 24 lines of 32 character
// codes, bit 7 (inverse video) cleared, codes 32-126 as ASCII and others as '.'.
// Used by noltace-headless (--screen, --until) and by tests that read the screen.
#pragma once

#include <string>

// One line, trailing spaces removed.
std::string ScreenLine(int row);
// The 24 lines, each ended by '\n'.
std::string ScreenText();

// The 24 lines as a person would copy them into an editor, in UTF-8, each ended by '\n'
// and without trailing blanks: inverse video as plain characters, the Ace's characters
// 96 and 127 as "£" and "©", and the graphics characters (codes 0-31) as the block
// character of Unicode nearest to their picture in character RAM, or a space.
std::string ScreenTextForCopying();
