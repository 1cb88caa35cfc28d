#include "machine/reset.h"

#include <cstring>

#include "base/current_file.h"
#include "base/messages.h"
#include "debugger/breakpoints.h"
#include "debugger/debugger_session.h"
#include "debugger/disassembler.h"
#include "debugger/pc_log.h"
#include "display/renderer.h"
#include "machine/ace_keyboard.h"
#include "machine/frame.h"
#include "machine/joystick.h"
#include "machine/machine_state.h"
#include "machine/rom.h"
#include "machine/run_state.h"
#include "machine/z80_tables.h"
#include "sound/ay.h"
#include "sound/sound_output.h"
#include "tape/file_kinds.h"
#include "tape/spool.h"
#include "tape/tape_deck.h"

void ResetMachine() {
    MachineState& m = machine;
    // Without any ROM loaded yet the page table still points somewhere valid (an empty
    // ROM image), so a machine started without "ace.rom" never reads through null.
    if (!m.pages[0]) BuildPageTable();
    std::memset(ramBlock, 0, sizeof ramBlock);
    BuildFlagTables();
    ReleaseAllKeys();
    if (TapeInDeck()) EjectTape();

    m.de.w = 0x0000;
    m.hl.w = 0xFFFF;
    m.pc = m.sp = 0;
    m.af.w = m.bc.w = m.ix.w = m.iy.w = 0;
    m.afAlt.w = m.bcAlt.w = m.deAlt.w = m.hlAlt.w = 0;
    m.iff1 = m.iff2 = 0;
    m.im = 0;
    m.r7 = 0;
    m.intLine = 0;
    m.halted = 0;
    m.ir = 0;
    m.eiDelay = m.prefixDelay = 0;
    // memptr keeps its value, as on the real chip.

    m.tstates = 0;
    m.instrStart = 0;
    m.earLevel = 0;
    m.intLength = kIntLength;

    RestartFrameSkip();
    ClearSpool();
    currentFileKind = FileKind::None;
}

void SoftReset() {
    ReleaseAllKeys();
    machine.pc = 0;
}

void HardReset() {
    ResetMachine();
    LoadStandardRom();
}

void ResetEmulator() {
    runState.Reset();
    ClearLastReportedMessage();
    if (soundStream.connected) ShutdownSound();
    ResetAy();
    soundOutputActive = false;
    machine = MachineState{};
    romState.Reset();
    BuildPageTable();
    pcLog.Reset();
    breakpointState.Reset();
    debuggerSession.Reset();
    disassembler.Reset();
    tapeDeck.Reset(); // the WAV deck with it
    spool.Reset();
    frameDriver.Reset();
    joystickInput.Reset();
    renderer.Reset();
    currentFile.Reset();
    ResetMachine();
}
