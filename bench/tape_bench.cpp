// Tape loading speed through the ROM's own loader: a 16 KB bytes file loaded from a TZX
// and from a 44.1 kHz WAV recorded from the ROM's SAVE, each at real speed and with fast
// loading. Reported as a multiple of real time (emulated seconds per host second); the fast
// load as host time per load.
//
// Needs the ROM: NOLTACE_TEST_ROM, else the standard ROM lookup; skipped without it.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/rom_lookup.h"
#include "display/renderer.h"
#include "machine/frame.h"
#include "machine/machine_state.h"
#include "machine/reset.h"
#include "machine/rom.h"
#include "machine/run_state.h"
#include "sound/sound_output.h"
#include "tape/load_buffer.h"
#include "tape/spool.h"
#include "tape/tape_deck.h"
#include "tape/tzx_format.h"
#include "tape/wav_deck.h"

namespace {

constexpr uint16_t kAddress = 0x8000, kLength = 16384;

bool BootMachine() {
    const char* fromTests = std::getenv("NOLTACE_TEST_ROM");
    const std::string rom = fromTests && *fromTests ? fromTests : FindStandardRom(ExecutableFolder());
    if (rom.empty() || LoadRomFile(rom, "ACE.ROM") != LoadResult::Loaded) return false;
    machine.model = 3;
    machine.topPage = ModelTable(3).topPage;
    machine.ramTop = ModelTable(3).ramTop;
    BuildBeamMap();
    ApplyColourScheme(0);
    spool.Reset();
    frameDriver.Reset();
    tapeDeck.Reset();
    ResetMachine();
    soundOutputActive = false;
    runState.FastMode = true;
    for (int i = 0; i < 100; ++i)
        RunFrame();
    return true;
}

// Frames until the typed command is in and the tape has stopped.
long TypeAndLoad(const std::string& command) {
    long frames = 0;
    StartSpool(command);
    for (; frames < 20000 && (spool.spoolActive || tzxPlaying || wavPlaying); ++frames)
        RunFrame();
    return frames;
}

std::vector<uint8_t> SixteenKTzx() {
    std::vector<uint8_t> header{0x00, 0x20, 'b', 'i', 'g', ' ', ' ', ' ', ' ', ' ', ' ', ' '};
    header.insert(header.end(),
                  {uint8_t(kLength), uint8_t(kLength >> 8), uint8_t(kAddress), uint8_t(kAddress >> 8)});
    header.resize(26, 0x20);
    std::vector<uint8_t> data{0xFF};
    for (int n = 0; n < kLength; ++n)
        data.push_back(uint8_t(n * 7));
    std::vector<uint8_t> tzx{'Z', 'X', 'T', 'a', 'p', 'e', '!', 0x1A, 1, 20};
    for (std::vector<uint8_t>* block : {&header, &data}) {
        uint8_t x = 0;
        for (size_t k = 1; k < block->size(); ++k)
            x ^= (*block)[k];
        block->push_back(x);
        tzx.insert(tzx.end(), {0x10, 0xE8, 0x03, uint8_t(block->size()), uint8_t(block->size() >> 8)});
        tzx.insert(tzx.end(), block->begin(), block->end());
    }
    return tzx;
}

void LoadTzx(benchmark::State& state, bool fast) {
    if (!BootMachine()) {
        state.SkipWithError("no ROM: set NOLTACE_TEST_ROM");
        return;
    }
    const std::vector<uint8_t> tzx = SixteenKTzx();
    long frames = 0;
    for (auto _ : state) {
        state.PauseTiming();
        BootMachine();
        opt_fastloadtzx = fast;
        loadBuffer = tzx;
        LoadTzxFromBuffer("big");
        tzxInserted = true;
        state.ResumeTiming();
        frames += TypeAndLoad("0 0 bload big\r");
    }
    if (machine.ram[kAddress + 1] != 7) state.SkipWithError("the tape did not load");
    // A fast load plays up to 100 frames of tape inside one counted frame: its figure is
    // the time per load.
    if (!fast)
        state.counters["x_realtime"] = benchmark::Counter(double(frames) / 50.0, benchmark::Counter::kIsRate);
}

void BM_TzxLoad16KRealSpeed(benchmark::State& state) {
    LoadTzx(state, false);
}
BENCHMARK(BM_TzxLoad16KRealSpeed)->Unit(benchmark::kMillisecond)->Iterations(2);

void BM_TzxLoad16KFast(benchmark::State& state) {
    LoadTzx(state, true);
}
BENCHMARK(BM_TzxLoad16KFast)->Unit(benchmark::kMillisecond)->Iterations(3);

// The ROM's BSAVE of 16 KB recorded to a WAV file once, then loaded back each time.
void LoadWav(benchmark::State& state, bool fast) {
    if (!BootMachine()) {
        state.SkipWithError("no ROM: set NOLTACE_TEST_ROM");
        return;
    }
    for (int n = 0; n < kLength; ++n)
        machine.ram[kAddress + n] = uint8_t(n * 7);
    const std::string path = "/tmp/noltace-bench-16k.wav";
    PrepareRecording(path);
    TypeAndLoad("32768 16384 bsave big\r");
    for (int i = 0; i < 6000 && !(recording && machine.pc < 0x1800 && machine.micBit == 0); ++i)
        RunFrame();
    for (int i = 0; i < 100; ++i)
        RunFrame();
    FinishRecording();
    std::vector<uint8_t> wav;
    ReadFileBytes(path, wav);
    std::remove(path.c_str());
    long frames = 0;
    for (auto _ : state) {
        state.PauseTiming();
        BootMachine();
        opt_fastloadtzx = fast;
        loadBuffer = wav;
        LoadWavFromBuffer("big");
        state.ResumeTiming();
        frames += TypeAndLoad("0 0 bload big\r");
    }
    if (machine.ram[kAddress + 1] != 7) state.SkipWithError("the recording did not load");
    if (!fast)
        state.counters["x_realtime"] = benchmark::Counter(double(frames) / 50.0, benchmark::Counter::kIsRate);
}

void BM_WavLoad16K(benchmark::State& state) {
    LoadWav(state, false);
}
BENCHMARK(BM_WavLoad16K)->Unit(benchmark::kMillisecond)->Iterations(2);

void BM_WavLoad16KFast(benchmark::State& state) {
    LoadWav(state, true);
}
BENCHMARK(BM_WavLoad16KFast)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
