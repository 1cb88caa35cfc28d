// Where the application looks for the Ace's ROM, in order: the file named by the
// environment variable NOLTACE_ROM, the executable's roms/ace.rom, and
// $XDG_DATA_HOME/noltace/roms/ace.rom (~/.local/share when XDG_DATA_HOME is unset).
#pragma once

#include <string>
#include <vector>

struct RomPlace {
    std::string description; // how the place is named to the user
    std::string path;        // "" when the place does not apply (NOLTACE_ROM unset)
};

std::vector<RomPlace> AceRomPlaces(const std::string& executableFolder);

// The first place that holds a regular file, or "".
std::string FindAceRom(const std::string& executableFolder);
