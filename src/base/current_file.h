// The file loaded last, as the shell shows and reuses it: its display name in the status
// bar, its bare name for tape autoload and the Dev command. Its kind is currentFileKind
// (tape/file_kinds.h).
#pragma once

#include <string>
#include <string_view>

struct CurrentFile {
    std::string currentFileName; // display name (status bar)
    std::string currentFilePath; // full path
    std::string currentBareName; // file name without folder and extension

    void Reset() { *this = CurrentFile{}; }
};
extern CurrentFile currentFile;

// The file name of `path` without its folder and without its extension (from the last ".").
std::string BareName(std::string_view path);
