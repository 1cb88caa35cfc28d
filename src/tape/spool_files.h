// Spool files: FORTH source texts (".txt", ".ja4", ".fs", ".f", ".fth", ".4th", ".forth") typed into the Ace key by key
// through StartSpool (spool.h).
//
//   OpenSpoolFileDialog();   // File, Load Spool File
//   DevSpool();              // F6: re-type "<spool folder>/<current bare name>.txt"
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "base/load_result.h"

// Text, as far as typing goes: no NUL byte, and hardly any control codes other than
// tabs, line ends and form feeds. A binary file typed in would be a screenful of errors.
bool LooksLikeText(const uint8_t* bytes, size_t size);

// Types the load buffer's bytes as they are (a line ends in ENTER). A buffer that is not
// text is refused with code 15.
LoadResult SpoolLoadBuffer();

// Reads the file and types it; remembers it as the spool folder. Reports code 13 when
// the file cannot be read, 15 when it is not text, and fails then.
LoadResult SpoolFile(const std::string& path);

// "Open SPOOL file": asks for a spool text and types it. Cancel does nothing.
void OpenSpoolFileDialog();

// The Dev command: types the ".txt" file named after the current file from the spool
// folder, so a program being written can be typed in again after each edit. A missing
// file types nothing and is not reported. Returns true when it started a spool.
bool DevSpool();
