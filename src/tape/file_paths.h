// Path rules shared by every file the emulator reads or writes, and the folders it
// remembers for each kind of file.
//
//   WithExtension("/home/me/.local/game", ".tap") -> "/home/me/.local/game.tap"
//   WithExtension("/tmp/my.games/demo.bin", ".tap") -> "/tmp/my.games/demo.bin"
//
// The folders hold the last full path used for that kind of file; the configuration
// file trims them to their folder part when it writes them.
#pragma once

#include <string>

extern std::string snapshotFolder; // follows every file read by Load File, a drop or the command line
extern std::string tapeFolder;     // follows every TAP file saved by the ROM (and WAV recordings)
extern std::string spoolFolder;    // follows every spool file opened

// Gives a save path the extension `ext` (with its dot) when its file name has none; a
// name's own extension, as the user typed it, is kept. Only the last component is
// looked at, so dots in folder names (hidden folders, "my.games") are no extension; a
// file name that starts with its only dot (".profile") has none either.
std::string WithExtension(const std::string& path, const std::string& ext);

// Gives a name chosen in a save dialog without an extension that of the filter the user
// picked (`patterns` as in the request, e.g. "*.wav"): "game" under "*.wav" becomes
// "game.wav". A name with its own extension ("game.ace", "cont.log"), and any "*.*"
// filter, leave it as it is.
std::string WithFilterExtension(const std::string& path, const std::string& patterns);

// The last path component ("/" or "\" separated).
std::string FileNameOf(const std::string& path);
// Everything up to and including the last separator; "" when there is none.
std::string FolderOf(const std::string& path);
// (The bare name, without folder and extension, is BareName in app/current_file.h.)
