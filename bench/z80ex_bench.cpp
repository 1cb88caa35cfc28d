// The Z80 core against the z80ex library (Debian's libz80ex-dev, a portable Z80 core
// from FUSE's lineage) on the same instruction mix: ZEXDOC from its start, on a flat
// 64 KB memory with the same two-line CP/M (BDOS returns at once, a warm boot restarts).
//
//   BM_Z80exZexdoc          z80ex alone, in MHz of emulated clock
//   BM_Z80VersusZ80ex       both cores in turns, a frame's worth of T-states each per
//                           iteration over the same stretch of ZEXDOC; `ratio` is how
//                           many times faster this core is (processor time of z80ex /
//                           processor time of ours, so other load on the machine does
//                           not tilt it)
//   BM_Z80VersusZ80exWhole  the same over the whole of ZEXDOC (47 billion T-states, a
//                           minute or two): runs only with NOLTACE_BENCH_WHOLE_ZEXDOC=1
//
// Needs NOLTACE_TESTDATA (the folder holding z80/zex/zexdoc.com); skipped without it.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" {
#include <z80ex/z80ex.h>
}

#include "machine/machine_state.h"
#include "machine/z80_core.h"

namespace {

constexpr uint16_t kLoadAddress = 0x0100;
constexpr uint16_t kBdos = 0x0005;
constexpr uint16_t kStackTop = 0xFE00;
constexpr uint32_t kSliceTstates = 64584; // one frame

// Processor time of this thread, in seconds.
double ThreadSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

const std::vector<char>& Zexdoc() {
    static const std::vector<char> program = [] {
        const char* dir = std::getenv("NOLTACE_TESTDATA");
        if (!dir || !*dir) return std::vector<char>();
        std::ifstream in(std::string(dir) + "/z80/zex/zexdoc.com", std::ios::binary);
        return std::vector<char>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    }();
    return program;
}

// ZEXDOC in a fresh 64 KB, as CP/M would load it; false when it is missing.
bool LoadZexdoc(uint8_t* mem) {
    const std::vector<char>& program = Zexdoc();
    if (program.empty() || program.size() > kStackTop - kLoadAddress) return false;
    std::memset(mem, 0, 0x10000);
    std::memcpy(mem + kLoadAddress, program.data(), program.size());
    mem[kBdos] = 0xC3; // JP kStackTop: the exerciser takes its stack from this word
    mem[kBdos + 1] = uint8_t(kStackTop & 0xFF);
    mem[kBdos + 2] = uint8_t(kStackTop >> 8);
    return true;
}

// --- this core ---------------------------------------------------------------------
struct FlatBus {
    uint8_t mem[0x10000];
    uint8_t Fetch(uint16_t a) { return mem[a]; }
    uint8_t Read(uint16_t a) { return mem[a]; }
    void Write(uint16_t a, uint8_t v) { mem[a] = v; }
    uint8_t In(uint16_t) { return 0xFF; }
    void Out(uint16_t, uint8_t) {}
    bool LoadTrap() { return false; }
    void SaveTrap() {}
};

struct OurCore {
    FlatBus bus;
    MachineState m{};
    bool Start() {
        if (!LoadZexdoc(bus.mem)) return false;
        m = MachineState{};
        m.pc = kLoadAddress;
        m.sp = kStackTop;
        return true;
    }
    // Runs at least `tstates`; true when the program ended (and started again).
    bool Run(uint32_t tstates) {
        bool ended = false;
        m.tstates = 0;
        while (m.tstates < tstates) {
            if (m.pc == kBdos) {
                m.pc = uint16_t(bus.mem[m.sp] | bus.mem[uint16_t(m.sp + 1)] << 8);
                m.sp = uint16_t(m.sp + 2);
            } else if (m.pc == 0x0000) {
                const uint32_t spent = m.tstates;
                Start();
                m.tstates = spent;
                ended = true;
            }
            Z80Step(m, bus);
        }
        return ended;
    }
};

// --- z80ex ---------------------------------------------------------------------------
struct Z80exCore {
    uint8_t mem[0x10000];
    Z80EX_CONTEXT* cpu = nullptr;

    static Z80EX_BYTE Read(Z80EX_CONTEXT*, Z80EX_WORD a, int, void* self) {
        return static_cast<Z80exCore*>(self)->mem[a];
    }
    static void Write(Z80EX_CONTEXT*, Z80EX_WORD a, Z80EX_BYTE v, void* self) {
        static_cast<Z80exCore*>(self)->mem[a] = v;
    }
    static Z80EX_BYTE In(Z80EX_CONTEXT*, Z80EX_WORD, void*) { return 0xFF; }
    static void Out(Z80EX_CONTEXT*, Z80EX_WORD, Z80EX_BYTE, void*) {}
    static Z80EX_BYTE IntVector(Z80EX_CONTEXT*, void*) { return 0xFF; }

    ~Z80exCore() {
        if (cpu) z80ex_destroy(cpu);
    }
    bool Start() {
        if (!LoadZexdoc(mem)) return false;
        if (!cpu) cpu = z80ex_create(Read, this, Write, this, In, this, Out, this, IntVector, this);
        z80ex_reset(cpu);
        z80ex_set_reg(cpu, regPC, kLoadAddress);
        z80ex_set_reg(cpu, regSP, kStackTop);
        return cpu != nullptr;
    }
    bool Run(uint32_t tstates) {
        bool ended = false;
        uint32_t spent = 0;
        while (spent < tstates) {
            const Z80EX_WORD pc = z80ex_get_reg(cpu, regPC);
            if (pc == kBdos) {
                const Z80EX_WORD sp = z80ex_get_reg(cpu, regSP);
                z80ex_set_reg(cpu, regPC, Z80EX_WORD(mem[sp] | mem[uint16_t(sp + 1)] << 8));
                z80ex_set_reg(cpu, regSP, Z80EX_WORD(sp + 2));
            } else if (pc == 0x0000) {
                Start();
                ended = true;
            }
            spent += uint32_t(z80ex_step(cpu));
        }
        return ended;
    }
};

void BM_Z80exZexdoc(benchmark::State& state) {
    static Z80exCore core;
    if (!core.Start()) {
        state.SkipWithError("NOLTACE_TESTDATA does not hold z80/zex/zexdoc.com");
        return;
    }
    for (auto _ : state)
        core.Run(kSliceTstates);
    state.counters["MHz"] =
        benchmark::Counter(double(state.iterations()) * kSliceTstates / 1e6, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_Z80exZexdoc)->Unit(benchmark::kMillisecond);

void ReportPair(benchmark::State& state, double emulated, double oursSeconds, double theirsSeconds) {
    state.counters["ours_MHz"] = emulated / oursSeconds / 1e6;
    state.counters["z80ex_MHz"] = emulated / theirsSeconds / 1e6;
    state.counters["ratio"] = theirsSeconds / oursSeconds;
}

void BM_Z80VersusZ80ex(benchmark::State& state) {
    static OurCore ours;
    static Z80exCore theirs;
    if (!ours.Start() || !theirs.Start()) {
        state.SkipWithError("NOLTACE_TESTDATA does not hold z80/zex/zexdoc.com");
        return;
    }
    double oursSeconds = 0, theirsSeconds = 0;
    for (auto _ : state) {
        const double t0 = ThreadSeconds();
        ours.Run(kSliceTstates);
        const double t1 = ThreadSeconds();
        theirs.Run(kSliceTstates);
        oursSeconds += t1 - t0;
        theirsSeconds += ThreadSeconds() - t1;
    }
    ReportPair(state, double(state.iterations()) * kSliceTstates, oursSeconds, theirsSeconds);
}
BENCHMARK(BM_Z80VersusZ80ex)->Unit(benchmark::kMillisecond);

void BM_Z80VersusZ80exWhole(benchmark::State& state) {
    const char* whole = std::getenv("NOLTACE_BENCH_WHOLE_ZEXDOC");
    if (!whole || std::string(whole) != "1") {
        state.SkipWithError("set NOLTACE_BENCH_WHOLE_ZEXDOC=1 to run the whole of ZEXDOC on both cores");
        return;
    }
    static OurCore ours;
    static Z80exCore theirs;
    if (!ours.Start() || !theirs.Start()) {
        state.SkipWithError("NOLTACE_TESTDATA does not hold z80/zex/zexdoc.com");
        return;
    }
    constexpr uint32_t kStretch = 1u << 30; // T-states between checks for the end
    double oursSeconds = 0, theirsSeconds = 0, emulated = 0;
    for (auto _ : state) {
        double t0 = ThreadSeconds();
        uint64_t ran = 0;
        do
            ran += kStretch;
        while (!ours.Run(kStretch));
        oursSeconds += ThreadSeconds() - t0;
        t0 = ThreadSeconds();
        while (!theirs.Run(kStretch)) {
        }
        theirsSeconds += ThreadSeconds() - t0;
        emulated += double(ran);
    }
    ReportPair(state, emulated, oursSeconds, theirsSeconds);
}
BENCHMARK(BM_Z80VersusZ80exWhole)->Unit(benchmark::kSecond)->Iterations(1);

} // namespace
