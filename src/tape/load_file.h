// Loading a named file by its kind: the one entry shared by the command line, files
// dropped on the main window, the Load File dialog and noltace-headless. It reads the
// file whole into the load buffer, picks the loader and records the current file
// (app/current_file.h). The
// route decides how the kind is matched and what is reported:
//
//   CommandLine     ending rule (file_kinds.h); an unknown ending loads nothing, silently;
//                   a ".rom" loads nothing (the command line's "-r" loads ROMs)
//   Dropped         drop rule (app/dropped_file.h); unknown: "16 - Tape Error: unknown
//                   extension"; a ".rom" loads nothing
//   LoadFileDialog  ending rule; unknown: message 22; a ".rom" becomes the custom ROM and
//                   the machine is reset
//
// A file that cannot be read reports "0D - File Error: File not found" first.
//
//   LoadFileByName("/tapes/maze.tap", LoadRoute::LoadFileDialog);  // tape in, autoload if on
//   LoadFileDialog(LoadFilter::AllFormats);                         // File, Load File
#pragma once

#include <cstdint>
#include <string>

#include "base/load_result.h"
#include "tape/binary_files.h" // LoadBinaryFile, the command line's "NAME.bin ADDRESS"

enum class LoadRoute : uint8_t { CommandLine, Dropped, LoadFileDialog };

// Failed when nothing was loaded (the reason, if the route reports it, has been shown).
// A tape whose last block is cut short loads its complete blocks, reports code 21 and
// counts as loaded.
LoadResult LoadFileByName(const std::string& path, LoadRoute route);

enum class LoadFilter : uint8_t { AllFormats = 0, WavOnly = 1, RomOnly = 2 };

// "Open File" with the filters of `filter`, then LoadFileByName on the LoadFileDialog
// route. Cancel does nothing (and counts as Failed: nothing was loaded).
LoadResult LoadFileDialog(LoadFilter filter = LoadFilter::AllFormats);
