// Where the standard ROM ("ace.rom") is looked for, shared by the desktop application
// and noltace-headless so both find the same file.
//
// In order: the file named by the environment variable NOLTACE_ROM; roms/ace.rom beside
// the executable; $XDG_DATA_HOME/noltace/roms/ace.rom ($XDG_DATA_HOME defaults to
// ~/.local/share); then the system-wide /usr/share/noltace/roms/ace.rom and
// /usr/local/share/noltace/roms/ace.rom. The ROM itself is the user's: NoltACE never
// ships one.
#pragma once

#include <string>
#include <vector>

// The user's own ROM: $XDG_DATA_HOME/noltace/roms/ace.rom ("" when neither XDG_DATA_HOME
// nor HOME is set). A ROM the user chooses is copied here.
std::string UserRomPath();

// The candidate paths in search order (a candidate whose variable is unset is left out).
std::vector<std::string> RomSearchPaths(const std::string& executableFolder);
// The first candidate that is a regular file, or "" when there is none.
std::string FindStandardRom(const std::string& executableFolder);
// One line naming every place searched, for "no ROM found" errors.
std::string DescribeRomSearch(const std::string& executableFolder);

// The folder of the running executable, with no trailing separator ("." if unknown).
// argv0 is the fallback when /proc/self/exe cannot be read.
std::string ExecutableFolder(const char* argv0 = nullptr);
