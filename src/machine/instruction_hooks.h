// The work done after every instruction, in its fixed order: the renderer catches up
// with the beam, a requested NMI is taken, the ROM address
// hooks start tape playback or recording, the fast tape loop runs, the tape and WAV
// clocks tick, breakpoints are tested and the PC log is written.
//
// Only the clocks and the renderer's beam position are kept on every instruction (the
// sound is worked out at the speaker's edges and the frame's end, sound_output.h). All
// the rest is switched off nearly all the time, so it sits behind one test of the
// switch block in machine/hook_switches.h: while every switch is off, an instruction
// pays one predictable branch for all of it. The order inside stays the fixed one.
//
// Written over a Bus like the core itself, so that a benchmark can measure the hooks'
// cost on any memory; the machine uses it with AceBus (ExecuteInstruction).
#pragma once

#include <type_traits>

#include "debugger/breakpoints.h"
#include "debugger/pc_log.h"
#include "display/renderer.h"
#include "machine/machine_state.h"
#include "machine/rom.h"
#include "machine/run_state.h"
#include "machine/watching_bus.h"
#include "machine/z80_core.h"
#include "sound/sound_output.h"
#include "tape/tape_deck.h"
#include "tape/wav_deck.h"

constexpr uint16_t kRomLoadHeaderPc = 0x191B; // where the ROM starts reading a tape block

// The ROM's tape-reading code: the block reader at 0x18A7, its edge and bit loops and
// the common exit at 0x1892. Fast loading runs only while the processor is in it.
constexpr uint16_t kRomTapeCodeFirst = 0x1892, kRomTapeCodeLast = 0x192C;
// The most frames of emulated time one fast-loading call runs before its frame ends, so
// the window, BREAK and the frame limits keep working while a tape races through.
constexpr int kFastTapeFrames = 100;

inline bool FastTapeOn(const MachineState& m) {
    return opt_fastloadtzx && (tzxPlaying || wavPlaying) && m.pc >= kRomTapeCodeFirst && m.pc <= kRomTapeCodeLast;
}

// The tape clocks after one instruction: TZX edges and WAV samples.
inline void TickTapeClocks(MachineState& m) {
    if (tzxPlaying) TapeTick(m.instrTstates);
    if ((wavPlaying || recording) && m.tapeClock > wavDeck.tstatesPerSample) {
        WavSampleTick(m.instrTstates);
        m.tapeClock -= wavDeck.tstatesPerSample;
    }
}

// While the ROM reads a playing TZX tape or WAV with fast loading on, whole instructions
// run back to back with only the tape clocks, up to kFastTapeFrames frames of emulated
// time; the sound skips them. The loop ends when the tape stops, the ROM leaves its tape
// code (the block is read, or BREAK) or the bound is reached; the frame then ends.
template <class Bus> void RunFastTapeLoop(MachineState& m, Bus& bus) {
    if (!FastTapeOn(m)) return;
    NoteRomListening();
    CatchUpSound(m.tstates);
    int framesLeft = kFastTapeFrames;
    while (FastTapeOn(m)) {
        Z80StepNoInterrupt(m, bus);
        m.instrTstates = m.tstates - m.instrStart;
        m.tapeClock += m.instrTstates;
        TickTapeClocks(m);
        if (m.tstates >= m.frameTstates) {
            if (--framesLeft == 0) break; // the frame driver ends this frame now
            m.tstates -= m.frameTstates;
        }
    }
    SkipSoundTo(m.tstates);
}

// True while the bus the step runs on is still the right one (watching or not); asked
// only on the rare path, where watchpoints can come or go (from inside the debugger).
template <class Bus> inline bool BusStillFits() {
    return watchpointsOn == std::is_same_v<Bus, WatchingBus>;
}

// The debugger's stops at an instruction boundary: a watchpoint that an access of the
// instruction hit, else a breakpoint at the next instruction; one stop at most.
inline void CheckStops() {
    const bool watchStopped = watchpointsOn && checkWatchpoints();
    if (debugHooksOn && !watchStopped) checkBreakpoints();
}

// Everything after the renderer, in the fixed order; reached only while some switch
// in rareHookSwitches is on, and kept out of line so the common path stays small.
template <class Bus> [[gnu::noinline]] void RunRareHooks(MachineState& m, Bus& bus) {
    if (NmiRequested) {
        NmiRequested = false; // the shell's request, taken once
        Z80AcceptNmi(m, bus);
    }

    if (m.pc == kRomLoadHeaderPc && (tzxInserted || wavLoaded)) RomListensToTape();
    if (m.pc == kSaveTrapAddress && recordArmed) StartRecording();

    TickTapeClocks(m);
    RunFastTapeLoop(m, bus);
    CheckStops();
    if (pcLogOn || pcLogOneFrame) PcLogStep();
}

// An accepted interrupt is a step of its own: the renderer, the breakpoints and the PC
// log see pc at the handler before its first instruction runs. The acceptance's T-states
// belong to no instruction, so the clocks get none, and the NMI and the tape hooks wait
// for the handler's first instruction as they always did.
template <class Bus> [[gnu::noinline]] bool RunAcceptanceHooks(MachineState& m, Bus&) {
    m.instrStart = m.tstates;
    m.instrTstates = 0;
    MoveBeam(m.tstates);
    CheckStops(); // a watchpoint sees the pushed return address
    if (pcLogOn || pcLogOneFrame) PcLogStep();
    return BusStillFits<Bus>();
}

// The instruction's length and the tape clock are counted only on the rare path, the
// only one that reads them: the clock matters only while a WAV plays or records, which
// starts it from 0. False when the caller must look again: watchpoints came or went
// during the hooks (it changes bus), or the hooks moved the clock back into the
// interrupt window (a tape racing through frames).
template <class Bus> [[gnu::always_inline]] inline bool RunInstructionHooks(MachineState& m, Bus& bus) {
    MoveBeam(m.tstates); // the renderer: drawing waits until somebody looks (renderer.h)
    if (AnyRareHookOn()) [[unlikely]] {
        m.instrTstates = m.tstates - m.instrStart;
        m.tapeClock += m.instrTstates;
        // With nothing else armed the breakpoint test is the whole of the rare path, and
        // its place in the order makes no difference.
        if (OnlyBreakpointsOn())
            checkBreakpoints();
        else
            RunRareHooks(m, bus);
        return BusStillFits<Bus>() && m.tstates >= m.intLength;
    }
    return true;
}

// A step past the frame's interrupt window, where no interrupt can be taken: one
// instruction and its hooks. False when the caller must look again.
template <class Bus> [[gnu::always_inline]] inline bool InstructionStep(MachineState& m, Bus& bus) {
    Z80StepInstruction(m, bus);
    return RunInstructionHooks(m, bus);
}

// The machine's step: the interrupt check, or else one instruction, then the hooks.
// False when the caller must look again (above).
template <class Bus> [[gnu::always_inline]] inline bool MachineStep(MachineState& m, Bus& bus) {
    if (Z80TakeInterrupt(m, bus)) [[unlikely]]
        return RunAcceptanceHooks(m, bus);
    Z80StepInstruction(m, bus);
    return RunInstructionHooks(m, bus);
}
