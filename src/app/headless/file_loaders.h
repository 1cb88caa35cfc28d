// --load: chooses a loader by the file name's ending (the lower- or upper-case form, as
// everywhere in NoltACE) and runs it. A kind without a loader yet is a clear error.
//
// To add a loader: write a LoadFunction and put it in the kind's row of the table in
// file_loaders.cpp.
#pragma once

#include <string>

class HeadlessRunner;

// Loads `path`; false with a one-line reason when it cannot. A loader that reported
// through ReportMessage may leave the reason empty (the message was the line).
using LoadFunction = bool (*)(const std::string& path, HeadlessRunner& runner, std::string& error);

struct FileKindEntry {
    const char* name;       // "TAP tape"
    const char* endings[3]; // lower-case endings; unused entries null
    LoadFunction load;      // null: not supported yet
};

// The table row for the file's ending, or null.
const FileKindEntry* FindFileKind(const std::string& path);
bool LoadFileByKind(const std::string& path, HeadlessRunner& runner, std::string& error);
