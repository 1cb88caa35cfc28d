// The debugger's control of the machine: opening it modally, and the commands that run
// instructions while it is open (Single Step, Step Over, Step Out, End/Start Of Frame,
// run until an opcode or a T-state). The window only shows what these leave behind.
//
// Short commands finish at once. Those that may run long (Step Over, Step Out, the
// frame runs, run-until) are a DebugRun that the window advances in slices with
// ContinueRun, redrawing and reading Escape or its Stop button in between, so that no
// command can hold the modal window for ever. Step Over and Step Out also give up after
// kStepFrameBound frames. Every run stops at an armed breakpoint.
//
// Frames run from the debugger are completed (rendered, counted, T-states brought back
// into the next frame) but raise no frame interrupt: the code sees time pass without new
// interrupts. A frame is completed only once its T-states have really been run.
#pragma once

#include <cstdint>

extern uint32_t debuggerSessions; // how many times the debugger has opened (the rewind buffer's cue)

struct DebuggerSessionState {
    bool debuggerOpen = false; // the debugger window is open
    // Run-until requests: each stays armed until met, across runs.
    bool runUntilHalt = false; // HALT (0x76)
    bool runUntilLdAR = false; // LD A,R (ED 5F)
    bool runUntilLdRA = false; // LD R,A (ED 4F)
    uint32_t runUntilTstate = 0;

    // Closed, nothing armed, no command running.
    void Reset();
};
extern DebuggerSessionState debuggerSession;

constexpr uint32_t kStepFrameBound = 30000; // ten emulated minutes: a second or two of host time,
                                             // long enough to reach for Stop

// Pauses the emulation and its sound, runs the host's modal debugger, shows the screen
// again and resumes. Does nothing while the debugger is already open.
void RunDebuggerModally();

// Called by the window when it opens and closes: the number base goes back to 16, the PC
// log stops (the debugger drives the machine itself), debuggerOpen follows.
void BeginDebuggerSession();
void EndDebuggerSession();

// Renders, counts and closes the frame when its T-states have been run; false otherwise.
bool CompleteFrame();

// One step: an interrupt still pending in this frame (its acceptance, stopping on the
// handler) or one instruction; completes the frame when the step ended it.
void SingleStep();

enum class RunKind { None, StepOver, StepOut, EndOfFrame, StartOfFrame, UntilOpcode, UntilTstate };

enum class RunStop {
    Running,    // not finished: call ContinueRun again
    Done,       // the command did what it was asked
    Breakpoint, // an armed breakpoint was reached
    Opcode,     // a run-until opcode is at pc (not executed)
    Tstate,     // the T-state run passed its target
    FrameEnd,   // the T-state run reached the end of the frame first
    Bound,      // Step Over / Step Out gave up after kStepFrameBound frames
    Cancelled,  // Escape or Stop
};

// Starts a command. Step Over on anything but a CALL runs that one instruction and is
// done at once (Done); the others return Running.
RunStop StartRun(RunKind kind);
// Runs up to `instructions` more instructions of the current command.
RunStop ContinueRun(uint32_t instructions);
// Ends the current command where it is (armed run-until requests stay armed).
RunStop CancelRun();
RunKind CurrentRun();
// Runs the current command to its end, at most `instructions` in all (tests, headless).
RunStop FinishRun(uint64_t instructions);

// "Single Step", "Step Over" ... for the window's status line, and what a stop means.
const char* RunStopText(RunStop stop);
