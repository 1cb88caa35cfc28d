// The one way a file gets into the emulator: the Load File command, the command line,
// a file dropped on the window and noltace-headless all call LoadFileByName, which reads
// the file whole, picks the loader by the name's ending (file_kinds.h) and records the
// current file.
//
//   LoadFileByName("/tapes/maze.tap");                 // inserts the tape (autoload if on)
//   LoadFileByName(dropped, LoadOrigin::Drop);         // a ".rom" does nothing here
//   LoadFileDialog(LoadFilter::AllFormats);            // File, Load File
#pragma once

#include <string>

// Where a file name came from. Only ROM images differ: the Load File command (and its
// Load Custom ROM form) loads them and resets the machine; a dropped file or a plain
// command-line name never replaces the ROM ("-r" does, through LoadCustomRom).
enum class LoadOrigin { FileCommand, CommandLine, Drop };

enum class LoadFilter { AllFormats = 0, WavOnly = 1, RomOnly = 2 };

// Loads the file by its kind. An ending not in the table reports code 22, a file that
// cannot be read code 13. Returns true when it failed (and reported why).
bool LoadFileByName(const std::string& path, LoadOrigin origin = LoadOrigin::FileCommand);

// "Open File" with the filters of `filter`; cancel does nothing. Returns true when the
// chosen file failed to load.
bool LoadFileDialog(LoadFilter filter = LoadFilter::AllFormats);
