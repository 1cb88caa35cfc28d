// Spool files: FORTH source texts (".txt", ".ja4", ".fs", ".f", ".fth", ".4th", ".forth") typed into the Ace key by key
// through StartSpool (spool.h).
//
//   OpenSpoolFileDialog();   // File, Load Spool File
//   DevSpool();              // F6: re-type "<spool folder>/<current bare name>.txt"
#pragma once

#include <string>

// Types the load buffer's bytes as they are (line feeds type nothing, CR is ENTER).
void SpoolLoadBuffer();

// Reads the file and types it; remembers it as the spool folder. Reports code 13 and
// returns true when the file cannot be read.
bool SpoolFile(const std::string& path);

// "Open SPOOL file": asks for a spool text and types it. Cancel does nothing.
void OpenSpoolFileDialog();

// The Dev command: types the ".txt" file named after the current file from the spool
// folder, so a program being written can be typed in again after each edit. A missing
// file types nothing and is not reported. Returns true when it started a spool.
bool DevSpool();
