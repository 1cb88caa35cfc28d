// File, Recent Files: the last ten files loaded (tapes, snapshots, spool texts and binary
// files), newest first, kept in "recent-files" beside noltace.ini so they outlast the run.
//
// The file holds one entry a line, newest first:
//   file /home/ace/tapes/maze.tap          loaded again by its kind
//   binary 16384 /home/ace/code.bin        loaded again at its address
// Lines that fit neither form are skipped.
//
//   RecentFiles recent(configFolder + "recent-files");
//   recent.Add({"/home/ace/tapes/maze.tap"});   // and written at once
#pragma once

#include <string>
#include <vector>

#include "base/loaded_files.h"

class RecentFiles {
  public:
    static constexpr size_t kMaxEntries = 10;

    explicit RecentFiles(std::string storePath = {});

    // Reads the store again (an unreadable one gives an empty list).
    void Load();
    // Puts `file` first (with an absolute path), drops an older entry of the same path and
    // anything past ten, and writes the store.
    void Add(const LoadedFile& file);
    void Remove(const std::string& path);

    const std::vector<LoadedFile>& entries() const { return entries_; }
    const std::string& storePath() const { return storePath_; }

  private:
    void Save() const;
    bool Erase(const std::string& path); // true when there was such an entry

    std::string storePath_;
    std::vector<LoadedFile> entries_;
};

// The menu text of an entry: its file name, then its folder (and a binary's address).
std::string RecentFileLabel(const LoadedFile& file);
