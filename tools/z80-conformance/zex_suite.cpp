// Frank Cringle's CP/M exercisers (PRELIM, ZEXDOC, ZEXALL) on the flat bus with the
// smallest CP/M that runs them: the program is loaded at 0x0100; BDOS calls reach
// 0x0005, where the runner prints for function 2 (character in E) and 9 (string at DE up
// to '$') and then returns as RET would; a jump to 0x0000 (warm boot) ends the run.
// 0x0005 holds JP 0xFE00 so that the exercisers' LD HL,(0006h) / LD SP,HL finds a stack
// near the top of memory, as under a real CP/M.
//
// The output is streamed as it comes. For ZEXDOC and ZEXALL every test line ending in
// "OK" passes and every line with "ERROR" fails; PRELIM passes when it prints
// "Preliminary tests complete" (it stops silently, or prints an address, on failure).
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>
#include <vector>

#include "flat_bus.h"
#include "machine/z80_core.h"
#include "suites.h"

namespace {

constexpr uint16_t kLoadAddress = 0x0100;
constexpr uint16_t kBdos = 0x0005;
constexpr uint16_t kStackTop = 0xFE00;
// ZEXDOC and ZEXALL need 46.7 billion T-states each; a core that loops for ever is
// stopped at two and a half times that.
constexpr uint64_t kTstateLimit = 120'000'000'000ull;

// Collects the program's output into lines and judges each one as it completes.
struct OutputJudge {
    std::string line;
    std::string all;
    bool exerciser = true; // ZEXDOC/ZEXALL rules; false for PRELIM
    long passed = 0, failed = 0;

    void Put(char c) {
        std::fputc(c, stdout);
        if (c == '\n') std::fflush(stdout);
        all += c;
        if (c == '\n' || c == '\r') {
            Judge();
            line.clear();
        } else {
            line += c;
        }
    }
    void Judge() {
        if (!exerciser) return;
        std::string s = line;
        while (!s.empty() && s.back() == ' ') s.pop_back();
        if (s.ends_with("OK")) ++passed;
        else if (s.find("ERROR") != std::string::npos) ++failed;
    }
};

} // namespace

SuiteResult RunZexSuite(const std::string& dir, const std::string& name, const SuiteOptions& options) {
    (void)options;
    SuiteResult result;
    std::string path = dir + "/zex/" + name + ".com";
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        std::printf("%s: skipped: cannot read %s\n", name.c_str(), path.c_str());
        result.skipped = true;
        return result;
    }
    std::vector<char> program((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (program.empty() || program.size() > kStackTop - kLoadAddress) {
        std::printf("%s: %s is empty or too large (%zu bytes)\n", name.c_str(), path.c_str(), program.size());
        std::printf("%s: 0 passed, 1 failed\n", name.c_str());
        result.failed = 1;
        return result;
    }

    auto bus = std::make_unique<FlatBus>();
    bus->BeginTest(PortReads::Idle);
    bus->logging = false;
    std::copy(program.begin(), program.end(), bus->mem + kLoadAddress);
    bus->mem[kBdos] = 0xC3; // JP kStackTop: only its address word is ever used
    bus->mem[kBdos + 1] = uint8_t(kStackTop & 0xFF);
    bus->mem[kBdos + 2] = uint8_t(kStackTop >> 8);

    MachineState m{};
    m.pc = kLoadAddress;
    m.sp = kStackTop;
    OutputJudge out;
    out.exerciser = name != "prelim";
    uint64_t spent = 0;
    bool finished = false;
    auto start = std::chrono::steady_clock::now();
    while (spent + m.tstates < kTstateLimit) {
        if (m.pc == 0x0000) {
            finished = true;
            break;
        }
        if (m.pc == kBdos) {
            if (m.bc.lo == 2) {
                out.Put(char(m.de.lo));
            } else if (m.bc.lo == 9) {
                for (uint16_t a = m.de.w; bus->mem[a] != '$' && out.all.size() < 1'000'000; ++a) out.Put(char(bus->mem[a]));
            }
            m.pc = uint16_t(bus->mem[m.sp] | bus->mem[uint16_t(m.sp + 1)] << 8);
            m.sp = uint16_t(m.sp + 2);
            continue;
        }
        Z80Step(m, *bus);
        if (m.tstates >= 0x80000000u) { // keep the frame-sized counter from wrapping
            spent += m.tstates;
            m.tstates = 0;
        }
    }
    spent += m.tstates;
    if (!out.line.empty()) out.Put('\n');
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("%s: %.1f s for %.2f billion T-states (%.0f emulated MHz)\n", name.c_str(), seconds, spent / 1e9,
                seconds > 0 ? spent / seconds / 1e6 : 0.0);

    if (!finished)
        std::printf("%s: did not return to CP/M within %.0f billion T-states\n", name.c_str(), kTstateLimit / 1e9);
    if (!out.exerciser) {
        bool complete = finished && out.all.find("Preliminary tests complete") != std::string::npos;
        (complete ? out.passed : out.failed) = 1;
    } else if (!finished) {
        ++out.failed;
    } else if (out.all.find("Tests complete") == std::string::npos) {
        std::printf("%s: the exerciser ended without \"Tests complete\"\n", name.c_str());
        ++out.failed;
    }
    result.passed = out.passed;
    result.failed = out.failed;
    std::printf("%s: %ld passed, %ld failed\n", name.c_str(), result.passed, result.failed);
    return result;
}
