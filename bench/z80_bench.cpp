// Emulated Z80 speed, in MHz of emulated clock per second of host time, on a fixed
// instruction mix: the opening test groups of ZEXDOC (16-bit ADC/SBC/ADD, INC/DEC, the
// 8-bit ALU loops and their CRC routine), run from the start on a flat 64 KB bus with a
// two-line CP/M: BDOS calls return at once, a warm boot restarts the program.
//
//   BM_Z80Bare   Z80Step only: the core on its own.
//   BM_Z80Hooks  Z80Step and the per-instruction hooks, on the global machine, with the
//                frame wrapped like the frame driver does so the renderer catches up
//                with the beam over the very RAM the program writes.
//
// Needs NOLTACE_TESTDATA (the folder holding z80/zex/zexdoc.com); skipped without it.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "display/renderer.h"
#include "machine/instruction_hooks.h"
#include "machine/machine_state.h"
#include "machine/rom.h"
#include "machine/z80_core.h"

namespace {

constexpr uint16_t kLoadAddress = 0x0100;
constexpr uint16_t kBdos = 0x0005;
constexpr uint16_t kStackTop = 0xFE00;

// Flat RAM over the machine's own RAM block, so that the renderer sees what runs.
struct FlatRamBus {
    uint8_t* mem = ramBlock;
    uint8_t Fetch(uint16_t a) { return mem[a]; }
    uint8_t Read(uint16_t a) { return mem[a]; }
    void Write(uint16_t a, uint8_t v) { mem[a] = v; }
    uint8_t In(uint16_t) { return 0xFF; }
    void Out(uint16_t, uint8_t) {}
    bool LoadTrap() { return false; }
    void SaveTrap() {}
};

std::vector<char> ReadZexdoc() {
    const char* dir = std::getenv("NOLTACE_TESTDATA");
    if (!dir || !*dir) return {};
    std::ifstream in(std::string(dir) + "/z80/zex/zexdoc.com", std::ios::binary);
    return std::vector<char>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// Loads ZEXDOC into the RAM block and points m at its start; false when it is missing.
bool StartZexdoc(MachineState& m) {
    static const std::vector<char> program = ReadZexdoc();
    if (program.empty() || program.size() > kStackTop - kLoadAddress) return false;
    std::memset(ramBlock, 0, sizeof ramBlock);
    std::memcpy(ramBlock + kLoadAddress, program.data(), program.size());
    ramBlock[kBdos] = 0xC3; // JP kStackTop: the exerciser takes its stack from this word
    ramBlock[kBdos + 1] = uint8_t(kStackTop & 0xFF);
    ramBlock[kBdos + 2] = uint8_t(kStackTop >> 8);
    m.pc = kLoadAddress;
    m.sp = kStackTop;
    m.intLine = 0;
    m.iff1 = m.iff2 = 0;
    m.tstates = 0;
    return true;
}

// The CP/M side, checked before every instruction: BDOS returns at once (the output is
// not needed), a warm boot starts the program again.
template <class Bus> inline void CpmShim(MachineState& m, Bus& bus) {
    if (m.pc == kBdos) {
        m.pc = uint16_t(bus.Read(m.sp) | bus.Read(uint16_t(m.sp + 1)) << 8);
        m.sp = uint16_t(m.sp + 2);
    } else if (m.pc == 0x0000) {
        StartZexdoc(m);
    }
}

void BM_Z80Bare(benchmark::State& state) {
    MachineState m{};
    if (!StartZexdoc(m)) {
        state.SkipWithError("NOLTACE_TESTDATA does not hold z80/zex/zexdoc.com");
        return;
    }
    FlatRamBus bus;
    uint64_t emulated = 0;
    for (auto _ : state) {
        // One frame's worth of T-states per iteration.
        while (m.tstates < kFrameTstates) {
            CpmShim(m, bus);
            Z80Step(m, bus);
        }
        emulated += m.tstates;
        m.tstates = 0;
    }
    state.counters["MHz"] = benchmark::Counter(double(emulated) / 1e6, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_Z80Bare)->Unit(benchmark::kMillisecond);

void BM_Z80Hooks(benchmark::State& state) {
    MachineState& m = machine;
    m = MachineState{};
    BuildPageTable(); // the renderer reads video and character RAM through these
    if (!StartZexdoc(m)) {
        state.SkipWithError("NOLTACE_TESTDATA does not hold z80/zex/zexdoc.com");
        return;
    }
    ResetBeam();
    FlatRamBus bus;
    uint64_t emulated = 0;
    for (auto _ : state) {
        // One frame per iteration, wrapped as the frame driver wraps it.
        while (m.tstates < m.frameTstates) {
            CpmShim(m, bus);
            Z80Step(m, bus);
            RunInstructionHooks(m, bus);
        }
        emulated += m.frameTstates;
        m.tstates -= m.frameTstates;
        ResetBeam();
    }
    state.counters["MHz"] = benchmark::Counter(double(emulated) / 1e6, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_Z80Hooks)->Unit(benchmark::kMillisecond);

} // namespace
