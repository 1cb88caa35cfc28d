// Whole-machine speed: RunFrame with the renderer following the beam, as
// noltace-headless runs it (Fast mode, no pacing, no sound, a host that shows no
// frames), on the real ROM. Reported as frames per second of host time and as a
// multiple of real time (50 frames = 1 emulated second).
//
//   BM_FrameIdle               the ROM waiting at the FORTH prompt
//   BM_FrameScreenHeavy        a FORTH loop printing numbers for ever, so the ROM's print
//                              and scroll routines keep writing video RAM
//   BM_FrameScreenHeavyShown   the same with every frame presented, as the application
//                              draws it
//   BM_FrameScreenHeavyBreakpointsArmed  the same with breakpoints armed
//
// Needs the ROM: NOLTACE_TEST_ROM, else the standard ROM lookup; skipped without it.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

#include "app/rom_lookup.h"
#include "debugger/breakpoints.h"
#include "base/host.h"
#include "display/renderer.h"
#include "machine/frame.h"
#include "machine/machine_state.h"
#include "machine/reset.h"
#include "machine/rom.h"
#include "machine/run_state.h"
#include "sound/sound_output.h"
#include "tape/spool.h"

namespace {

constexpr int kBootFrames = 100;

// noltace-headless's view of frames: presented to nobody. Or, with `shown`, presented
// to a screen that takes them.
class BenchHost : public Host {
  public:
    bool shown = false;
    bool ShowsFrames() const override { return shown; }
};
BenchHost benchHost;

std::string BenchRomPath() {
    const char* fromTests = std::getenv("NOLTACE_TEST_ROM");
    if (fromTests && *fromTests) return fromTests;
    return FindStandardRom(ExecutableFolder());
}

// A booted machine at the FORTH prompt; false when there is no ROM.
bool BootMachine() {
    const std::string rom = BenchRomPath();
    if (rom.empty() || LoadRomFile(rom, "ACE.ROM") != LoadResult::Loaded) return false;
    machine.model = 0;
    machine.topPage = ModelTable(0).topPage;
    machine.ramTop = ModelTable(0).ramTop;
    BuildBeamMap();
    ApplyColourScheme(0);
    spool.Reset();
    frameDriver.Reset();
    ResetMachine();
    benchHost.shown = false;
    SetHost(&benchHost);
    soundOutputActive = false;
    runState.FastMode = true;
    for (int i = 0; i < kBootFrames; ++i)
        RunFrame();
    return true;
}

void TypeAndRun(const std::string& text) {
    StartSpool(text);
    while (spool.spoolActive)
        RunFrame();
}

void MeasureFrames(benchmark::State& state) {
    for (auto _ : state)
        RunFrame();
    const double frames = double(state.iterations());
    state.counters["fps"] = benchmark::Counter(frames, benchmark::Counter::kIsRate);
    state.counters["x_realtime"] = benchmark::Counter(frames / 50.0, benchmark::Counter::kIsRate);
}

void BM_FrameIdle(benchmark::State& state) {
    if (!BootMachine()) {
        state.SkipWithError("no ROM: set NOLTACE_TEST_ROM");
        return;
    }
    MeasureFrames(state);
}
BENCHMARK(BM_FrameIdle)->Unit(benchmark::kMicrosecond);

void BM_FrameScreenHeavy(benchmark::State& state) {
    if (!BootMachine()) {
        state.SkipWithError("no ROM: set NOLTACE_TEST_ROM");
        return;
    }
    TypeAndRun(": T 0 BEGIN 1+ DUP . 0 UNTIL ; T\r");
    MeasureFrames(state);
}
BENCHMARK(BM_FrameScreenHeavy)->Unit(benchmark::kMicrosecond);

// The same with breakpoints armed that never stop the machine: one on the keyboard scan
// that the frame interrupt reaches every frame, with a condition that never holds, and
// others on addresses the loop does not reach. The step then tests each instruction's
// address against the armed ones.
void BM_FrameScreenHeavyBreakpointsArmed(benchmark::State& state) {
    if (!BootMachine()) {
        state.SkipWithError("no ROM: set NOLTACE_TEST_ROM");
        return;
    }
    TypeAndRun(": T 0 BEGIN 1+ DUP . 0 UNTIL ; T\r");
    ClearBreakpoints();
    AddBreakpoint("#0336", "IX=#1234");
    for (const char* address : {"#3F00", "#3F10", "#3F20", "#3F30", "#3F40", "#3F50", "#3F60"})
        AddBreakpoint(address, "");
    MeasureFrames(state);
    ClearBreakpoints();
}
BENCHMARK(BM_FrameScreenHeavyBreakpointsArmed)->Unit(benchmark::kMicrosecond);

void BM_FrameScreenHeavyShown(benchmark::State& state) {
    if (!BootMachine()) {
        state.SkipWithError("no ROM: set NOLTACE_TEST_ROM");
        return;
    }
    TypeAndRun(": T 0 BEGIN 1+ DUP . 0 UNTIL ; T\r");
    benchHost.shown = true;
    MeasureFrames(state);
    benchHost.shown = false;
}
BENCHMARK(BM_FrameScreenHeavyShown)->Unit(benchmark::kMicrosecond);

} // namespace
