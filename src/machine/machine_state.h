// The one record of the emulated Jupiter Ace: Z80 registers and latches, the frame's
// T-state counters, the memory (ROM image, 64 KB RAM block, page table, model) and the
// port side. Every subsystem reads and writes it through the global `machine`.
//
// Register pairs are little-endian words whose halves are also addressable bytes:
// `machine.af.hi` is A, `machine.af.lo` is F. `r` and `i` share one word, `ir`
// (I high, R low), the way the PC log and the debugger show them.
#pragma once

#include <bit>
#include <cstdint>

static_assert(std::endian::native == std::endian::little, "register pairs assume a little-endian host");

union RegPair {
    uint16_t w;
    struct {
        uint8_t lo, hi;
    };
};

constexpr uint32_t kFrameTstates = 64584; // 312 lines of 207 T-states
constexpr uint8_t kIntLength = 32;        // the interrupt is taken only in a frame's first 32 T-states
constexpr uint8_t kIdleBus = 0x20;        // what unattached ports (and the IM 2 vector low byte) read

// Indexes into `portLatches`, one per decoded port.
// kLatch01 keeps the last joystick read, the only traffic on that port.
enum PortLatch : int { kLatch3F, kLatch5F, kLatchDD, kLatchDF, kLatchFD, kLatchFE, kLatchFF, kLatch01, kPortLatchCount };

struct MachineState {
    // Z80 registers and internal latches
    uint16_t pc = 0;
    uint16_t lastPc = 0; // address of the instruction being executed
    uint16_t sp = 0;
    uint8_t iff1 = 0, iff2 = 0;
    uint8_t im = 0;
    uint8_t r7 = 0; // last value written by LD R,A; only bit 7 counts
    uint8_t intLine = 0;
    uint8_t halted = 0;
    uint8_t eiDelay = 0;
    uint8_t prefixDelay = 0;
    RegPair af{}, bc{}, de{}, hl{};
    RegPair ix{}, iy{};
    union {
        uint16_t ir = 0;
        struct {
            uint8_t r, i;
        };
    };
    RegPair afAlt{}, bcAlt{}, deAlt{}, hlAlt{};
    uint16_t memptr = 0; // WZ
    uint8_t q = 0;       // 1 when the last instruction wrote F

    // memory
    uint8_t* rom = nullptr;
    uint8_t* ram = nullptr;
    uint8_t* pages[8] = {};
    uint32_t model = 0;
    uint32_t topPage = 1;
    uint32_t ramTop = 0x3FFF;

    // time within the current frame
    uint32_t tstates = 0;
    uint32_t frameTstates = kFrameTstates;
    uint8_t intLength = kIntLength;
    uint32_t instrStart = 0;
    uint32_t instrTstates = 0; // the last step's own T-states, for the rare hooks (instruction_hooks.h)
    uint32_t tapeClock = 0;    // T-states towards the next WAV sample, while one plays or records

    // port side
    uint8_t idleBus = kIdleBus;
    uint8_t soundInterface = 0;
    uint8_t keyMatrix[8] = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
    uint16_t earLevel = 0;
    uint32_t speakerToggle = 0;
    uint8_t micBit = 0;
    uint8_t portLatches[kPortLatchCount] = {};
};

extern MachineState machine;

// The 64 KB RAM block that `machine.ram` points at; it lives for the whole run.
extern uint8_t ramBlock[0x10000];

// Models: 0 = 3K, 1 = 19K, 2 = 35K, 3 = 51K.
struct ModelInfo {
    const char* menuText;
    uint32_t topPage;
    uint32_t ramTop;
};
const ModelInfo& ModelTable(uint32_t model);
// The model's memory limits (highest page, highest RAM address) into `machine`; the
// model number itself is left to the caller.
void ApplyModelLimits(uint32_t model);
