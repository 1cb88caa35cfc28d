// The debugger's views and exports as command-line actions: --words, --sysvars,
// --pc-log and --disassemble-to.
#pragma once

#include <cstdint>
#include <string>

void PrintWordList();
void PrintSystemVariables();
// Starts a continuous PC log into `path` (emptied first) that runs until the program
// ends; false with `error` set when the file cannot be created.
bool StartCommandLinePcLog(const std::string& path, std::string& error);
void EndCommandLinePcLog();
bool DisassembleToFileAction(const std::string& path, uint32_t start, uint32_t end, std::string& error);
