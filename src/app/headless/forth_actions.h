// The FORTH-level actions of noltace-headless: --decompile, --export-words and
// --forth-stack.
#pragma once

#include <string>

// Prints the word as LIST shows it; false with `error` set when there is no such word.
bool PrintDecompiledWord(const std::string& name, std::string& error);
bool ExportWordsAction(const std::string& path, std::string& error);
void PrintForthStack();
