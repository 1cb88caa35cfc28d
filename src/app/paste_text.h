// Text from the PC (the clipboard, a drop) made into what the Ace can type: each line
// ends in ENTER (CR) whether it ended in LF, CR LF or CR; a tab is a space; the pound
// and copyright signs are the Ace's own characters (96, 127); every other character the
// Ace has no key for is left out and counted.
#pragma once

#include <string>

struct AceText {
    std::string text; // the Ace's character codes, ready for StartSpool
    int leftOut = 0;  // characters the Ace cannot type
};

AceText AceTextFrom(const std::u32string& text);
// "3 characters the Ace cannot type were left out" ("" when none was).
std::string LeftOutMessage(int leftOut);
