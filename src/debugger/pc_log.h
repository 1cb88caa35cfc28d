// The PC log: one text line per executed instruction while logging is on.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

extern bool pcLogOn;       // continuous log
extern bool pcLogOneFrame; // log until the current frame ends
extern std::FILE* pcLogFile;

struct PcLogRegisters {
    uint16_t pc, af, bc, de, hl, ir, sp;
    uint32_t tstates;
};

// "PC = %04X  AF = %04X  ... tstate = %05d  <disassembly>\n"
std::string FormatPcLogLine(const PcLogRegisters& regs, const std::string& disassembly);

// Called after every instruction while logging: appends the line for the instruction at
// pc, except that a repeated LDIR, LDDR, HALT or DJNZ is logged once.
void PcLogStep();
void ResetPcLog();

// Opens `path` for appending (`truncate`: from empty) and starts the continuous log, or
// with `oneFrame` the log that ends with the current frame. Breakpoint hooks come on,
// and a continuous log asks again at 10 MB. False, with nothing started, when the file
// cannot be opened.
bool StartPcLog(const std::string& path, bool oneFrame, bool truncate = false);
// Ends both kinds of log and closes the file; the menu hears of each kind that was on
// (pcLogStoppedHandler, machine/frame.h).
void StopPcLog();

// The Debug menu's "PC Logging": switches the continuous log off, or on after asking for
// a file (appended to). Cancelling the file dialog leaves it off; a file that cannot be
// opened shows "ERROR" / "Cannot Open File". Returns whether the log is now on.
bool PcLoggingCommand();
// "PC log One frame": the same for a log that ends with the current frame.
bool PcLogOneFrameCommand();
