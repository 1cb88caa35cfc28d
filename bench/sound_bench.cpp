// What sound costs: the sampler and the AY tick on their own, and whole frames of the
// booted Ace with and without sound generation (NOLTACE_TEST_ROM names the ROM; the
// frame benchmarks skip without it).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>

#include "machine/frame.h"
#include "machine/machine_state.h"
#include "machine/reset.h"
#include "machine/rom.h"
#include "machine/run_state.h"
#include "sound/ay.h"
#include "sound/sound_output.h"
#include "sound/sound_settings.h"
#include "sound/wav_writer_device.h"

namespace {

NullAudioDevice nullDevice;

void StartNullStream(uint8_t enhancement = kEnhanceNone) {
    ResetSound();
    opt_echo = enhancement;
    SetAudioDevice(&nullDevice);
    InitSound();
}

// A busy AY: all three tones, noise on A and a triangle envelope on C.
void ProgramAy() {
    const uint8_t regs[14] = {0x40, 0x01, 0x80, 0x00, 0x33, 0x02, 0x07,
                              0x30, 0x0F, 0x0C, 0x10, 0x20, 0x00, 0x0E};
    for (uint8_t r = 0; r < 14; ++r) {
        SelectRegister(r);
        WriteRegister(regs[r]);
    }
}

void BM_TakeSample(benchmark::State& state) {
    StartNullStream(uint8_t(state.range(0)));
    ProgramAy();
    for (auto _ : state) {
        machine.earLevel ^= 1;
        TakeSample();
    }
    state.SetItemsProcessed(state.iterations());
    ResetSound();
}
BENCHMARK(BM_TakeSample)->Arg(kEnhanceNone)->Arg(kEnhanceEcho)->Arg(kEnhanceReverb);

void BM_AyTick(benchmark::State& state) {
    StartNullStream();
    ProgramAy();
    for (auto _ : state)
        AyTick();
    benchmark::DoNotOptimize(ay.level[0]);
    state.SetItemsProcessed(state.iterations());
    ResetSound();
}
BENCHMARK(BM_AyTick);

// A second of emulated time, as the instruction step feeds it: 4 to 23 T-states a call.
void BM_AdvanceSoundClocks(benchmark::State& state) {
    StartNullStream();
    ProgramAy();
    uint32_t t = 4;
    for (auto _ : state) {
        AdvanceSoundClocks(t);
        t = t == 23 ? 4 : t + 1;
    }
    state.SetItemsProcessed(state.iterations());
    ResetSound();
}
BENCHMARK(BM_AdvanceSoundClocks);

bool BootRom(benchmark::State& state) {
    const char* rom = std::getenv("NOLTACE_TEST_ROM");
    if (!rom || !std::filesystem::is_regular_file(rom)) {
        state.SkipWithError("NOLTACE_TEST_ROM does not name ace.rom");
        return false;
    }
    runState.Reset();
    machine = MachineState{};
    BuildPageTable();
    if (LoadRomFile(rom, "ACE.ROM") != LoadResult::Loaded) {
        state.SkipWithError("the ROM did not load");
        return false;
    }
    ResetMachine();
    return true;
}

// Frames per second of the booted Ace sitting at its prompt: sound off (0), sound on
// with a busy AY (1), sound on with the AY silent as on an Ace without a sound
// interface (2). Without sound, Fast mode keeps the frame driver from pacing; with
// sound, the null device never waits.
void BM_RunFrame(benchmark::State& state) {
    const int64_t mode = state.range(0);
    if (!BootRom(state)) return;
    ResetSound();
    if (mode != 0) {
        StartNullStream();
        if (mode == 1) ProgramAy();
    } else {
        runState.FastMode = true;
    }
    for (int i = 0; i < 100; ++i)
        RunFrame(); // boot to the prompt
    for (auto _ : state)
        RunFrame();
    state.counters["frames/s"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
    ResetSound();
    runState.Reset();
}
BENCHMARK(BM_RunFrame)->ArgName("sound")->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

} // namespace
