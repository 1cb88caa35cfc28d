// Kinds of file the emulator loads, chosen by the name's ending, and the record of the
// file loaded last.
//
//   FileKindForName("/tapes/maze.tap") == FileKind::Tap
//   FileKindForName("/tapes/maze.Tap") == FileKind::None   (only all-lower or all-upper)
//
// The numbers are the kinds' numbers in the configuration and the status bar.
#pragma once

#include <string>

enum class FileKind { None = 0, Snapshot = 1, Tap = 2, Wav = 3, Tzx = 4, Spool = 5, Rom = 6, Binary = 7 };

struct FileKindEntry {
    FileKind kind;
    const char* ending;
};

// The endings in the order they are tried; the first whose text ends the name wins.
extern const FileKindEntry kFileKindTable[];
extern const int kFileKindCount;

// Compares the name's last characters case-sensitively with each ending in table order.
FileKind FileKindForName(const std::string& name);

// The kind of the file loaded last (the Dev command uses its name); None after a reset.
extern FileKind currentFileKind;

// The file loaded last: its full path, the name shown in the status bar, and its bare
// name (no folder, no extension) that tape autoload and the Dev command use.
struct CurrentFile {
    std::string fullPath;
    std::string displayName;
    std::string bareName;
};
extern CurrentFile currentFile;

// Makes `path` the current file (all three names) without changing its kind.
void SetCurrentFile(const std::string& path);
