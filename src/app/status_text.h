// The texts of the main window's four-part status bar, refreshed once a second:
// the model, the frames run in the last second, the speed (50 frames a second is 100%)
// and, at 200% and above, the name of the file loaded last; what is in the tape deck
// follows it at every size.
#pragma once

#include <cstdint>
#include <string>

struct StatusTexts {
    std::string model, framesPerSecond, speed, currentFile;
};

// The file part while a text is being typed in: " Spooling 40%".
std::string SpoolingText(int percent);

// Texts shown before the first update.
StatusTexts InitialStatusTexts();

// `fileName` is the current file's display name, "" when no file is loaded; `deck` the
// deck's contents (DeckContents(), "" when empty).
StatusTexts MakeStatusTexts(uint32_t model, uint64_t framesLastSecond, const std::string& fileName,
                            int scale, const std::string& deck = "");
