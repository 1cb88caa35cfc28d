// Kinds of file the emulator loads, chosen by the name's ending. The file loaded last
// (its names) is app/current_file.h; its kind is currentFileKind here.
//
//   FileKindByEnding("/tapes/maze.tap") == FileKind::Tap
//   FileKindByEnding("/tapes/maze.Tap") == FileKind::None   (only all-lower or all-upper)
//
// The numbers are the kinds' numbers of the Load File command and the status bar.
#pragma once

#include <span>
#include <string_view>

enum class FileKind { None = 0, Snapshot = 1, Tap = 2, Wav = 3, Tzx = 4, Spool = 5, Rom = 6, Binary = 7 };

// The kind of the file loaded last (the Dev command uses its name); None after a reset.
extern FileKind currentFileKind;

// The file-kind table in its order: each kind with its lower- and upper-case endings.
struct FileKindEnding {
    std::string_view ending;
    FileKind kind;
};
std::span<const FileKindEnding> FileKindTable();

// Load File and the command line: the first entry equal to the name's last characters,
// compared case-sensitively; None when no entry matches.
FileKind FileKindByEnding(std::string_view name);
