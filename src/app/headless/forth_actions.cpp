#include "forth_actions.h"

#include <cstdio>

#include "debugger/forth_decompiler.h"
#include "debugger/forth_export.h"
#include "debugger/forth_stack.h"

bool PrintDecompiledWord(const std::string& name, std::string& error) {
    const std::optional<ForthWord> word = FindRamWord(name);
    if (!word) {
        error = "--decompile: no word '" + name + "' in RAM";
        return false;
    }
    std::fputs(ListingText(*word, DecompileWord(*word, ForthBase())).c_str(), stdout);
    return true;
}

bool ExportWordsAction(const std::string& path, std::string& error) {
    ForthExportCounts counts;
    if (!WriteForthExport(path, counts, error)) return false;
    std::printf("%s\n", ForthExportSummary(counts).c_str());
    return true;
}

void PrintForthStack() {
    std::printf("%s\n", FormatForthDataStack(ReadForthDataStack(), 10).c_str());
}
