#include "debugger/debugger_session.h"

#include "base/host.h"
#include "debugger/breakpoints.h"
#include "debugger/disassembler.h"
#include "debugger/pc_log.h"
#include "display/renderer.h"
#include "machine/frame.h"
#include "machine/machine_state.h"
#include "machine/run_state.h"
#include "machine/z80.h"
#include "sound/sound_output.h"

DebuggerSessionState debuggerSession;

namespace {

struct DebugRun {
    RunKind kind = RunKind::None;
    uint16_t returnAddress = 0;   // Step Over: the address after the CALL
    uint32_t framesRun = 0;       // frames completed by this command, for the bound
    bool tstateNextFrame = false; // the T-state target lies in the next frame
};

DebugRun run;

} // namespace

void DebuggerSessionState::Reset() {
    *this = DebuggerSessionState{};
    run = DebugRun{};
}

namespace {

uint8_t ByteAt(uint16_t a) {
    return machine.pages[a >> 13][a & 0x1FFF];
}

bool IsCall(uint8_t op) {
    return op == 0xCD || (op & 0xC7) == 0xC4;
}
bool IsRet(uint8_t op) {
    return op == 0xC9 || (op & 0xC7) == 0xC0;
}

// The armed run-until request that the instruction at pc meets, if any; it is disarmed.
bool OpcodeRequestMet() {
    const uint16_t pc = machine.pc;
    const uint8_t op = ByteAt(pc);
    if (debuggerSession.runUntilHalt && op == 0x76) {
        debuggerSession.runUntilHalt = false;
        return true;
    }
    if (op != 0xED) return false;
    const uint8_t next = ByteAt(uint16_t(pc + 1));
    if (debuggerSession.runUntilLdAR && next == 0x5F) {
        debuggerSession.runUntilLdAR = false;
        return true;
    }
    if (debuggerSession.runUntilLdRA && next == 0x4F) {
        debuggerSession.runUntilLdRA = false;
        return true;
    }
    return false;
}

RunStop Finish(RunStop stop) {
    run = DebugRun{};
    breakpointState.breakpointHit = false;
    return stop;
}

bool FrameRunOut() {
    return machine.tstates >= machine.frameTstates;
}

// Completes a frame inside a long command and counts it against the bound.
void CompleteRunFrame() {
    if (CompleteFrame()) ++run.framesRun;
}

// Executes one instruction of the current command; returns a stop, or Running.
RunStop StepRun() {
    MachineState& m = machine;
    switch (run.kind) {
    case RunKind::StepOver:
        if (FrameRunOut()) CompleteRunFrame();
        ExecuteInstruction();
        if (m.pc == run.returnAddress) return Finish(RunStop::Done);
        break;
    case RunKind::StepOut:
        if (IsRet(ByteAt(m.pc))) {
            m.intLine = 0;
            ExecuteInstruction();
            if (FrameRunOut()) CompleteFrame();
            return Finish(RunStop::Done);
        }
        m.intLine = 0;
        ExecuteInstruction();
        if (FrameRunOut()) CompleteRunFrame();
        break;
    case RunKind::EndOfFrame:
    case RunKind::StartOfFrame:
        if (FrameRunOut()) {
            if (run.kind == RunKind::StartOfFrame) CompleteFrame();
            return Finish(RunStop::Done);
        }
        ExecuteInstruction();
        break;
    case RunKind::UntilOpcode:
        if (OpcodeRequestMet()) return Finish(RunStop::Opcode);
        if (FrameRunOut()) CompleteFrame();
        ExecuteInstruction();
        break;
    case RunKind::UntilTstate:
        if (!run.tstateNextFrame && m.tstates > debuggerSession.runUntilTstate)
            return Finish(RunStop::Tstate);
        if (FrameRunOut()) {
            CompleteFrame();
            if (!run.tstateNextFrame) return Finish(RunStop::FrameEnd);
            run.tstateNextFrame = false;
        }
        ExecuteInstruction();
        break;
    case RunKind::None: return RunStop::Done;
    }
    if (breakpointState.breakpointHit) return Finish(RunStop::Breakpoint);
    if (run.framesRun >= kStepFrameBound) return Finish(RunStop::Bound);
    return RunStop::Running;
}

} // namespace

void RunDebuggerModally() {
    if (debuggerSession.debuggerOpen) return;
    const bool wasPaused = runState.Paused;
    runState.Paused = true;
    PauseSound(true);
    host().RunDebugger();
    PresentFrame();
    runState.Paused = wasPaused;
    PauseSound(runState.Paused || runState.FastMode);
}

uint32_t debuggerSessions = 0;

void BeginDebuggerSession() {
    ++debuggerSessions;
    disassembler.numberBase = 16;
    StopPcLog();
    run = DebugRun{};
    breakpointState.breakpointHit = false;
    debuggerSession.debuggerOpen = true;
}

void EndDebuggerSession() {
    run = DebugRun{};
    breakpointState.breakpointHit = false;
    debuggerSession.debuggerOpen = false;
}

bool CompleteFrame() {
    MachineState& m = machine;
    if (m.tstates < m.frameTstates) return false;
    RenderToBeam(m.frameTstates);
    PresentFrame();
    ++frameDriver.frameCounter;
    m.tstates -= m.frameTstates;
    ResetBeam();
    // The frame driver's interrupt request stays up once raised; code run from the
    // debugger sees no frame interrupts, so the request goes with the frame.
    m.intLine = 0;
    return true;
}

void SingleStep() {
    // An interrupt still pending in this frame is taken as a step of its own, so the
    // step stops on the handler; frames closed here bring no new one (CompleteFrame).
    ExecuteInstruction();
    CompleteFrame();
    breakpointState.breakpointHit = false;
}

RunStop StartRun(RunKind kind) {
    run = DebugRun{};
    breakpointState.breakpointHit = false;
    MachineState& m = machine;
    switch (kind) {
    case RunKind::StepOver:
        if (!IsCall(ByteAt(m.pc))) {
            ExecuteInstruction(); // leaves a frame that ran out for the next command to close
            return Finish(RunStop::Done);
        }
        run.returnAddress = uint16_t(m.pc + 3);
        break;
    case RunKind::EndOfFrame:
    case RunKind::StartOfFrame:
        // A frame already run out is closed first, then the next one runs to its end.
        CompleteFrame();
        break;
    case RunKind::UntilTstate: run.tstateNextFrame = m.tstates > debuggerSession.runUntilTstate; break;
    case RunKind::None: return RunStop::Done;
    default: break;
    }
    run.kind = kind;
    return RunStop::Running;
}

RunStop ContinueRun(uint32_t instructions) {
    for (uint32_t k = 0; k < instructions; ++k) {
        const RunStop stop = StepRun();
        if (stop != RunStop::Running) return stop;
    }
    return run.kind == RunKind::None ? RunStop::Done : RunStop::Running;
}

RunStop CancelRun() {
    return Finish(RunStop::Cancelled);
}

RunKind CurrentRun() {
    return run.kind;
}

RunStop FinishRun(uint64_t instructions) {
    RunStop stop = run.kind == RunKind::None ? RunStop::Done : RunStop::Running;
    while (stop == RunStop::Running && instructions > 0) {
        const uint32_t slice = instructions > 100000 ? 100000 : uint32_t(instructions);
        stop = ContinueRun(slice);
        instructions -= slice;
    }
    return stop == RunStop::Running ? CancelRun() : stop;
}

const char* RunStopText(RunStop stop) {
    switch (stop) {
    case RunStop::Running: return "Running... (Escape stops)";
    case RunStop::Done: return "";
    case RunStop::Breakpoint: return "Stopped at a breakpoint";
    case RunStop::Opcode: return "Stopped before the awaited instruction";
    case RunStop::Tstate: return "Stopped past the T-state";
    case RunStop::FrameEnd: return "Stopped at the end of the frame";
    case RunStop::Bound: return "Gave up: no return within 30000 frames (10 minutes)";
    case RunStop::Cancelled: return "Stopped";
    }
    return "";
}
