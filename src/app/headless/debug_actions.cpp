#include "debug_actions.h"

#include <climits>
#include <cstdio>

#include "debugger/disassemble_to_file.h"
#include "debugger/disassembler.h"
#include "debugger/forth_views.h"
#include "debugger/pc_log.h"
#include "machine/frame.h"

void PrintWordList() {
    for (const ForthWord& word : buildWordList())
        std::printf("%s\n", FormatWordListLine(word).c_str());
}

void PrintSystemVariables() {
    for (const SystemVariableRow& row : SystemVariableRows())
        std::printf("%s\n", FormatSystemVariableRow(row).c_str());
}

bool StartCommandLinePcLog(const std::string& path, std::string& error) {
    if (!StartPcLog(path, false, true, &error)) return false;
    // Nobody is there to answer the size question: the log runs to the end.
    pcLog.pcLogLimitMb = INT_MAX;
    return true;
}

void EndCommandLinePcLog() {
    StopPcLog();
}

bool DisassembleToFileAction(const std::string& path, uint32_t start, uint32_t end, std::string& error) {
    const DisassemblyFault fault = CheckDisassemblyRange(start, end);
    if (fault != DisassemblyFault::None) {
        char range[40];
        std::snprintf(range, sizeof range, " (%04X to %04X)", unsigned(start), unsigned(end));
        error = std::string("--disassemble-to: ") + DisassemblyFaultText(fault) + range;
        return false;
    }
    const DisassemblyRange range{start, end};
    // As the dialog writes it with Show Hex ticked; --dis-labels sv ticks System Variables.
    const DisassemblyOptions options{true, opt_dis_sv != 0};
    return WriteDisassembly(path, range, options, error);
}
