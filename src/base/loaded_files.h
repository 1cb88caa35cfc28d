// The loaders tell whoever listens which file they just loaded, so the desktop shell can
// keep its Recent Files list without the loaders knowing about it. Nobody listens in
// noltace-headless, where a note costs nothing.
//
//   SetLoadedFileListener([](const LoadedFile& f) { recent.Add(f); });
//   NoteLoadedFile({path});                      // a tape, snapshot or spool text
//   NoteLoadedFile({path, true, 16384});         // a binary file at its address
#pragma once

#include <cstdint>
#include <functional>
#include <string>

struct LoadedFile {
    std::string path;
    bool binary = false;  // a raw binary block, loaded at `address`
    uint16_t address = 0;
};

using LoadedFileListener = std::function<void(const LoadedFile&)>;

// Replaces the listener (an empty one stops listening).
void SetLoadedFileListener(LoadedFileListener listener);
void NoteLoadedFile(const LoadedFile& file);
