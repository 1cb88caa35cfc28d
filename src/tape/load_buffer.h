// The load buffer: every file is read whole into memory before any loader looks at it,
// and the loaders parse it from there with bounds checks.
//
//   if (ReadWholeFile(path) != LoadResult::Loaded) return LoadResult::Failed; // reported
//   LoadTapFromBuffer();                      // reads loadBuffer
//   FreeLoadBuffer();
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "base/load_result.h"

extern std::vector<uint8_t> loadBuffer;

// Reads the file at `path` into loadBuffer and remembers the path as the snapshot
// folder. On failure it reports (13 "File not found" when it cannot be opened or read,
// 4 "Out of memory" when it is too big to hold), empties the buffer and fails.
LoadResult ReadWholeFile(const std::string& path);

// Like ReadWholeFile into `out`, without reporting and without touching the folders;
// false when the file cannot be read.
bool ReadFileBytes(const std::string& path, std::vector<uint8_t>& out);

void FreeLoadBuffer();

inline std::span<const uint8_t> LoadBufferBytes() {
    return {loadBuffer.data(), loadBuffer.size()};
}
