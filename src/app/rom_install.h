// A ROM file the user chose when none was found: checked, then copied to the user's own
// ROM path (UserRomPath, rom_lookup.h), where every later start finds it.
//
//   const std::string problem = InstallUserRom(chosen);
//   if (!problem.empty()) ShowWhy(problem);   // nothing was copied
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// "" when `image` looks like the Jupiter Ace ROM; otherwise a sentence saying why not.
std::string AceRomProblem(const std::vector<uint8_t>& image);

// Reads `source`, checks it and copies it to UserRomPath(), making the folders. Returns
// "" on success, else why nothing was installed.
std::string InstallUserRom(const std::string& source);
