// --load: chooses a loader by the file's kind (its ending, through the emulator's
// file-kind table: lower- or upper-case forms only) and runs it. A kind without a loader
// yet is a clear error.
//
// To add a loader: write a LoadFunction and put it in the kind's row of the table in
// file_loaders.cpp.
#pragma once

#include <string>

#include "base/load_result.h"
#include "tape/file_kinds.h"

class HeadlessRunner;

// Loads `path`; Failed with a one-line reason when it cannot. A loader that reported
// through ReportMessage may leave the reason empty (the message was the line).
using LoadFunction = LoadResult (*)(const std::string& path, HeadlessRunner& runner, std::string& error);

struct FileKindLoader {
    FileKind kind;
    const char* name;  // "TAP tape"
    LoadFunction load; // null: not supported yet
};

// The table row for the file's kind, or null.
const FileKindLoader* FindFileKind(const std::string& path);
LoadResult LoadFileByKind(const std::string& path, HeadlessRunner& runner, std::string& error);
