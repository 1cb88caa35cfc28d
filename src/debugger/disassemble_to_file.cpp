#include "debugger/disassemble_to_file.h"

#include <cctype>
#include <cstdio>

#include "base/file_writer.h"
#include "base/number_text.h"
#include "debugger/disassembler.h"
#include "machine/machine_state.h"
#include "tape/binary_files.h"

namespace {

constexpr size_t kMaxFieldLength = 6;

bool ReadField(const std::string& text, uint32_t& value) {
    if (text.size() > kMaxFieldLength) return false;
    const std::optional<uint32_t> number = ParseNumber(text);
    if (!number) return false;
    value = *number;
    return true;
}

} // namespace

DisassemblyFault ParseDisassemblyRange(const std::string& startText, const std::string& endText,
                                       DisassemblyRange& range) {
    DisassemblyRange r;
    if (!ReadField(startText, r.start) || !ReadField(endText, r.end)) return DisassemblyFault::BadNumber;
    const DisassemblyFault fault = CheckDisassemblyRange(r.start, r.end);
    if (fault == DisassemblyFault::None) range = r;
    return fault;
}

DisassemblyFault CheckDisassemblyRange(uint32_t start, uint32_t end) {
    if (start > machine.ramTop || end > machine.ramTop) return DisassemblyFault::OutOfMemory;
    // Compared as End + 1 so that Start 0 cannot wrap below zero.
    if (end + 1 < start) return DisassemblyFault::EndBeforeStart;
    return DisassemblyFault::None;
}

const char* DisassemblyFaultText(DisassemblyFault fault) {
    switch (fault) {
    case DisassemblyFault::None: return "";
    case DisassemblyFault::BadNumber:
        return "Start and End must be numbers: decimal, or hexadecimal after # or $ (at most 6 characters)";
    case DisassemblyFault::OutOfMemory: return "Start and End must lie within the machine's memory";
    case DisassemblyFault::EndBeforeStart: return "End must not come before Start";
    }
    return "";
}

std::string DisassemblyFileLine(uint32_t address, uint32_t& next) {
    disassembleLine(address);
    next = disassembler.disAddr;
    std::string line = disassembler.lineText;
    for (char& c : line)
        c = char(std::toupper(static_cast<unsigned char>(c)));
    return line;
}

bool WriteDisassembly(const std::string& path, const DisassemblyRange& range, const DisassemblyOptions& options,
                      std::string& error) {
    FileWriter out(path);
    if (!out.Open()) {
        error = out.Error();
        return false;
    }
    // The listing's options hold while it is written; the debugger's panes keep theirs.
    const int savedBase = disassembler.numberBase;
    const bool savedLabels = disassembler.exportSystemVariables;
    disassembler.numberBase = options.showHex ? 16 : 10;
    disassembler.exportSystemVariables = options.systemVariables;
    // Every line moves on by at least one byte and the walk ends at the top of RAM, so it
    // ends on every model.
    for (uint32_t address = range.start; address <= range.end && address <= machine.ramTop;) {
        uint32_t next = address;
        const std::string line = DisassemblyFileLine(address, next);
        out.Write(line + '\n');
        address = next > address ? next : address + 1;
    }
    disassembler.numberBase = savedBase;
    disassembler.exportSystemVariables = savedLabels;
    if (out.Commit()) return true;
    error = out.Error();
    return false;
}
