// The PC log: one text line per executed instruction while logging is on.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "base/file_writer.h"
#include "machine/hook_switches.h"

inline bool& pcLogOn = rareHookSwitches.pcLogOn;             // continuous log
inline bool& pcLogOneFrame = rareHookSwitches.pcLogOneFrame; // log until the current frame ends

constexpr int kPcLogStartLimitMb = 10;

struct PcLogState {
    std::unique_ptr<FileWriter> pcLogFile; // open while either kind of log is on
    // The continuous log's size limit in whole megabytes; starting the log sets it to 10,
    // and each "continue" answer to the size question doubles it.
    int pcLogLimitMb = kPcLogStartLimitMb;
    uint32_t previousWord = 0xFFFFFFFF; // the last logged opcode pair; none yet

    // Logging off, the file closed (a write failure reported), the limit back at its
    // start (no menu hears of it).
    void Reset();
};
extern PcLogState pcLog;

struct PcLogRegisters {
    uint16_t pc, af, bc, de, hl, ir, sp;
    uint32_t tstates;
};

// "PC = %04X  AF = %04X  ... tstate = %05d  <disassembly>\n"
std::string FormatPcLogLine(const PcLogRegisters& regs, const std::string& disassembly);

// Called after every instruction while logging: appends the line for the instruction at
// pc, except that a repeated LDIR, LDDR, HALT or DJNZ is logged once.
void PcLogStep();
// Switches both kinds of logging off and closes the file, reporting a failure to write
// it (the debugger does so when it opens); Host::PcLogStopped hears of each kind that
// was on.
void StopPcLog();
// The frame driver, at the end of each frame while the debug hooks are on: a one-frame
// log ends with its frame; a continuous log asks before it grows past its size limit.
void PcLogEndOfFrame();

// The menu items that Host::PcLogStopped names.
constexpr int kPcLoggingMenuItem = 128;     // "PC Logging"
constexpr int kPcLogOneFrameMenuItem = 129; // "PC log One frame"

// Opens `path` for appending (`truncate`: a new file that replaces it when the log
// stops) and starts the continuous log, or with `oneFrame` the log that ends with the
// current frame; numbers in the log are hexadecimal, and a continuous log asks again at
// 10 MB. False, with nothing started and the writer's words in `error` when given,
// when the file cannot be opened.
bool StartPcLog(const std::string& path, bool oneFrame, bool truncate = false, std::string* error = nullptr);

// The Debug menu's "PC Logging": switches the continuous log off, or on after asking for
// a file (appended to). Cancelling the file dialog leaves it off; a file that cannot be
// opened shows "ERROR" / "Cannot Open File". Returns whether the log is now on.
bool PcLoggingCommand();
// "PC log One frame": the same for a log that ends with the current frame.
bool PcLogOneFrameCommand();
