// Kinds of file the emulator loads, chosen by the name's ending.
#pragma once

#include <span>
#include <string_view>

enum class FileKind { None, Tap, Tzx, Wav, Snapshot, Spool, Rom, Binary };

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
