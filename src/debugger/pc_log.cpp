#include "debugger/pc_log.h"

#include <cstdio>

#include "base/host.h"
#include "debugger/breakpoints.h"
#include "debugger/disassembler.h"
#include "machine/memory.h"

PcLogState pcLog;

namespace {

bool IsRepeatingLoop(uint16_t w) {
    const uint8_t op = w >> 8;
    return w == 0xEDB0 || w == 0xEDB8 || op == 0x76 || op == 0x10;
}
} // namespace

std::string FormatPcLogLine(const PcLogRegisters& regs, const std::string& disassembly) {
    char line[160];
    std::snprintf(
        line, sizeof line,
        "PC = %04X  AF = %04X  BC = %04X  DE = %04X  HL = %04X  IR = %04X  SP = %04X  tstate = %05d  ",
        regs.pc, regs.af, regs.bc, regs.de, regs.hl, regs.ir, regs.sp, int(regs.tstates));
    return line + disassembly + "\n";
}

void PcLogStep() {
    const MachineState& m = machine;
    const uint16_t w = uint16_t(FetchOpcodeByte(m.pc) << 8 | FetchOpcodeByte(uint16_t(m.pc + 1)));
    if (!(w == pcLog.previousWord && IsRepeatingLoop(w)) && pcLog.pcLogFile) {
        const PcLogRegisters regs{m.pc, m.af.w, m.bc.w, m.de.w, m.hl.w, m.ir, m.sp, m.tstates};
        // The mnemonic only: the line already starts with PC.
        const std::string line = FormatPcLogLine(regs, InstructionText(m.pc));
        pcLog.pcLogFile->Write(line); // a failure shows when the file is closed
    }
    pcLog.previousWord = w;
}

namespace {

void CloseLogFile() {
    if (pcLog.pcLogFile && !pcLog.pcLogFile->Commit()) ReportWriteFailure(pcLog.pcLogFile->Error());
    pcLog.pcLogFile.reset();
}

} // namespace

void PcLogState::Reset() {
    CloseLogFile();
    *this = PcLogState{};
    pcLogOn = pcLogOneFrame = false;
}

void StopPcLog() {
    const bool continuous = pcLogOn, oneFrame = pcLogOneFrame;
    pcLogOn = pcLogOneFrame = false;
    CloseLogFile();
    UpdateDebugHooks();
    if (continuous) host().PcLogStopped(kPcLoggingMenuItem);
    if (oneFrame) host().PcLogStopped(kPcLogOneFrameMenuItem);
}

void PcLogEndOfFrame() {
    if (pcLogOneFrame) {
        pcLogOneFrame = false;
        UpdateDebugHooks(); // breakpoints stay armed
        CloseLogFile();
        host().PcLogStopped(kPcLogOneFrameMenuItem);
    }
    if (!pcLogOn || !pcLog.pcLogFile) return;
    std::FILE* file = pcLog.pcLogFile->Stream();
    std::fflush(file);
    const long bytes = std::ftell(file);
    const int sizeMb = bytes > 0 ? int(bytes / 1048576) : 0;
    if (sizeMb < pcLog.pcLogLimitMb) return;
    char question[96];
    std::snprintf(question, sizeof question, "File is %dMB in size \n\nDo you wish to continue?", sizeMb);
    if (host().AskYesNoWarning("DEBUG", question)) {
        pcLog.pcLogLimitMb *= 2;
    } else {
        pcLogOn = false;
        UpdateDebugHooks();
        CloseLogFile();
        host().PcLogStopped(kPcLoggingMenuItem);
    }
}

bool StartPcLog(const std::string& path, bool oneFrame, bool truncate, std::string* error) {
    StopPcLog();
    // A log grows too long to copy for each line: appending writes it in place.
    auto file = std::make_unique<FileWriter>(path, truncate ? FileWriter::kReplace : FileWriter::kAppend);
    if (!file->Open()) {
        if (error) *error = file->Error();
        return false;
    }
    pcLog.pcLogFile = std::move(file);
    pcLog.previousWord = 0xFFFFFFFF;
    if (oneFrame) {
        pcLogOneFrame = true;
    } else {
        pcLogOn = true;
        pcLog.pcLogLimitMb = kPcLogStartLimitMb;
    }
    disassembler.numberBase = 16;
    UpdateDebugHooks();
    return true;
}

namespace {

bool AskAndStart(bool oneFrame) {
    FileDialogRequest request;
    request.title = "PC Log";
    request.filters = {{"Text files (*.txt)", "*.txt"}, {"All files (*)", "*"}};
    request.initialName = "pclog.txt";
    request.defaultExtension = "txt";
    const std::string path = host().ChooseSaveFile(request);
    if (path.empty()) return false;
    if (StartPcLog(path, oneFrame)) return true;
    host().ShowMessage("Cannot Open File", "ERROR");
    return false;
}

} // namespace

bool PcLoggingCommand() {
    if (pcLogOn) {
        StopPcLog();
        return false;
    }
    return AskAndStart(false);
}

bool PcLogOneFrameCommand() {
    if (pcLogOneFrame) return true; // already logging this frame
    return AskAndStart(true);
}
