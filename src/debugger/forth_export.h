// The RAM dictionary as a spool text: typed into a fresh machine of the same model, it
// compiles to the same dictionary bytes. Words LIST can show are written as their source;
// any other word (data, machine code, a code field set by hand) is written raw:
//
//   ( DATA: raw bytes, no source text gives this word )
//   CREATE DATA
//    1 C, 2 C, 3 C,
//   4085 15500 !          the code field, when it is not CREATE's
//
// Stores go to absolute addresses: the machine typing the text lays the dictionary out
// where this one has it.
// and the text ends with a comment counting both kinds.
#pragma once

#include <string>

struct ForthExportCounts {
    int source = 0;
    int raw = 0;
};

// The spool text of every RAM word, oldest first; lines end in a line feed.
std::string ExportForthSource(ForthExportCounts& counts);

// Writes it to `path`; false with `error` set when the file cannot be written.
bool WriteForthExport(const std::string& path, ForthExportCounts& counts, std::string& error);

// "( 12 words as source, 3 as raw bytes )"
std::string ForthExportSummary(const ForthExportCounts& counts);
