// Sets the machine up from the command line and runs its actions in order.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "headless_host.h"
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
    int RunAction(const Action& action, const HeadlessOptions& options);
    bool RunUntil(const std::string& text, long maxFrames);
    bool StartAudioOut(const std::string& path);
    bool ArmBreakpoints(const HeadlessOptions& options);
    // One frame, or its rest; false when a breakpoint stopped it before the frame end.
    bool RunOneFrame();
    void Disassemble(uint32_t start, uint32_t end);
    void Step(long count);

    HeadlessHost& host_;
    uint64_t frames_ = 0;
    double startSeconds_ = 0;
    double endSeconds_ = 0;
    std::unique_ptr<WavWriterDevice> audioOut_;
    bool badArguments_ = false;
};
