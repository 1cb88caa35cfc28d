// Loading a named file by its kind: the one entry shared by the command line, files
// dropped on the main window and the Load File dialog. The route decides how the kind is
// matched and what is reported:
//
//   CommandLine     ending rule (file_kinds.h); an unknown ending loads nothing, silently;
//                   a ".rom" loads nothing (the command line's "-r" loads ROMs)
//   Dropped         drop rule (app/dropped_file.h); unknown: "16 - Tape Error: unknown
//                   extension"; a ".rom" loads nothing
//   LoadFileDialog  ending rule; unknown: message 22; a ".rom" becomes the custom ROM and
//                   the machine is reset
//
// A file that cannot be read reports "0D - File Error: File not found" first.
#pragma once

#include <cstdint>
#include <string>

enum class LoadRoute : uint8_t { CommandLine, Dropped, LoadFileDialog };

// True when nothing was loaded (the reason, if the route reports it, has been shown).
bool LoadFileByName(const std::string& path, LoadRoute route);

// Copies the whole file into the RAM block from `address` on; bytes that would fall past
// 0xFFFF are dropped. Registers and the rest of memory are untouched. True when the file
// could not be read (not reported).
bool LoadBinaryFile(const std::string& path, uint32_t address);
