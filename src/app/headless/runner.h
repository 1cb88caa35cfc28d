// Sets the machine up from the command line and runs its actions in order.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "debugger/step_back.h"
#include "headless_host.h"
#include "machine/rewind_buffer.h"
#include "options.h"
#include "sound/wav_writer_device.h"

enum ExitStatus : int { kExitOk = 0, kExitError = 1, kExitUsage = 2, kExitUntilTimedOut = 3 };

class HeadlessRunner {
  public:
    explicit HeadlessRunner(HeadlessHost& host) : host_(host) {}
    ~HeadlessRunner(); // completes the --audio-out file

    // Loads the ROM, applies model and colours and resets the machine; on failure prints
    // one line and returns false.
    bool SetUp(const HeadlessOptions& options, const char* argv0);
    // After a failed SetUp: the fault was in the command line (exit 2), not the machine.
    bool BadArguments() const { return badArguments_; }
    // Runs every action; returns the exit status (the failing action printed its line).
    int RunActions(const HeadlessOptions& options);
    // "frames=F tstates=T seconds=S speed=X"
    std::string StatsLine() const;

    // Runs frames; a breakpoint that is reached ends the run there, mid-frame (false).
    bool RunFrames(long count);
    // Starts a spool of these keys and runs frames until all of them have been typed.
    void TypeKeys(const std::string& keys);
    // Runs frames until the spool in progress (if any) has been typed.
    void FinishTyping();

  private:
    // Runs the action, then notes what it did to the kept history (NoteAction).
    int RunAction(const Action& action, const HeadlessOptions& options);
    int DoAction(const Action& action, const HeadlessOptions& options);
    bool RunUntil(const std::string& text, long maxFrames);
    bool StartAudioOut(const std::string& path);
    bool ArmBreakpoints(const HeadlessOptions& options);
    // One frame, or its rest; false when a breakpoint stopped it before the frame end.
    bool RunOneFrame();
    void Disassemble(uint32_t start, uint32_t end);
    void Step(long count);
    // The state actions: --rewind, --step-back, --save-state, --load-state.
    int RunStateAction(const Action& action);
    // What an action does to the kept history: a run or a change ends the stepping that
    // --step-back can undo, and a change outside the frames makes the rewind buffer keep
    // a state at the next frame start.
    void NoteAction(ActionKind kind);

    HeadlessHost& host_;
    uint64_t frames_ = 0;
    double startSeconds_ = 0;
    double endSeconds_ = 0;
    std::unique_ptr<WavWriterDevice> audioOut_;
    bool badArguments_ = false;
    std::unique_ptr<RewindBuffer> rewind_; // only with --rewind or --step-back
    StepHistory stepHistory_;
    bool midFrame_ = false; // a breakpoint stopped the last frame before its end
    bool atFrameEnd_ = false; // the machine is where the last whole frame left it
};
