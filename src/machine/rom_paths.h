// The ROM's hottest paths, run without the opcode dispatch.
//
// A FORTH program on the Ace spends most of its instructions in a few stretches of ROM
// code: the word dispatch that every primitive ends in (JP (IY): the stack and BREAK
// checks, then NEXT), the data stack's push and pop (RST 10, RST 18) and the division
// loop of U/MOD. Stepped, each of their instructions pays the fetch, the jump on its
// opcode and the step's bookkeeping.
//
// Here each path is a list of steps, (address, opcode), in the order the processor
// usually runs them. A path is entered only at one of its steps' addresses, or at the
// instruction that leads it (JP (IY), RST 10, RST 18) wherever that is, and only when
// the ROM holds every step's opcode at its address: nothing here assumes the standard
// ROM, and another ROM simply runs no path. A step then runs when pc is at
// its address, through the very code of the step (ExecMain, ExecEdOpcode) with the
// opcode known at compile time, so the switch folds away. A step whose address pc is
// not at is passed over: a branch the other way (an error, BREAK) leaves the later steps
// unmatched, or meets one further on, and the frame loop carries on from wherever pc is.
//
// The paths run only where the frame loop's steps would run alone: past the interrupt
// window, on the plain bus, with every rare hook off (breakpoints, the PC log and the
// tape hooks see every instruction stepped), and with room before `end` for every step
// at the longest instruction's cost, so that no step starts at or past `end`. What a
// step's bookkeeping leaves is kept where something looks: the beam is brought up
// before a step that writes memory (a write to video RAM shows from there), the start
// before a port read (the speaker's edge), and after the path R, the start and the
// address of the last step as stepping would have left them.
#pragma once

#include <array>
#include <cstdint>
#include <initializer_list>
#include <utility>

#include "display/renderer.h"
#include "machine/hook_switches.h"
#include "machine/machine_state.h"
#include "machine/memory.h"
#include "machine/z80_core.h"

struct RomPathStep {
    uint16_t pc;
    uint8_t op;
    uint8_t op2 = 0;       // the second byte of an ED opcode, or E9 after FD (JP (IY))
    bool anywhere = false; // a path's first step, run wherever pc is (RAM too)
};

namespace rom_paths {

// A path that runs one list of steps and then another.
template <size_t n, size_t k>
constexpr std::array<RomPathStep, n + k> Joined(const std::array<RomPathStep, n>& first,
                                                const std::array<RomPathStep, k>& then) {
    std::array<RomPathStep, n + k> steps{};
    for (size_t i = 0; i < n; ++i)
        steps[i] = first[i];
    for (size_t i = 0; i < k; ++i)
        steps[n + i] = then[i];
    return steps;
}

// NEXT, entered at 04B9 (POP HL) or 04BA by the words that skip the checks: fetch the
// next word's code field, push the interpreter pointer, jump to its code.
inline constexpr std::array kNext{
    RomPathStep{0x04B9, 0xE1}, RomPathStep{0x04BA, 0x5E}, RomPathStep{0x04BB, 0x23},
    RomPathStep{0x04BC, 0x56}, RomPathStep{0x04BD, 0x23}, RomPathStep{0x04BE, 0xE5},
    RomPathStep{0x04BF, 0xEB}, RomPathStep{0x04C0, 0x5E}, RomPathStep{0x04C1, 0x23},
    RomPathStep{0x04C2, 0x56}, RomPathStep{0x04C3, 0x23}, RomPathStep{0x04C4, 0xEB},
    RomPathStep{0x04C5, 0xE9},
};

// After JP (IY): LD BC,11 / LD DE,(STKBOT) / LD HL,(SPARE) / ADD HL,BC / SBC HL,DE /
// JR C (else "stack full"), LD BC,0 / CALL the free-space check (0F8C) / CALL the BREAK
// test (04E4) / JR NEXT, then NEXT.
inline constexpr auto kWordDispatch = Joined(
    std::array{
        RomPathStep{0x04C8, 0x01},       RomPathStep{0x04CB, 0xED, 0x5B}, RomPathStep{0x04CF, 0x2A},
        RomPathStep{0x04D2, 0x09},       RomPathStep{0x04D3, 0xED, 0x52}, RomPathStep{0x04D5, 0x38},
        RomPathStep{0x04D9, 0x01},       RomPathStep{0x04DC, 0xCD},       RomPathStep{0x0F8C, 0x21},
        RomPathStep{0x0F8F, 0xC5},       RomPathStep{0x0F90, 0x09},       RomPathStep{0x0F91, 0xED, 0x4B},
        RomPathStep{0x0F95, 0x09},       RomPathStep{0x0F96, 0xC1},       RomPathStep{0x0F97, 0x38},
        RomPathStep{0x0F99, 0xED, 0x72}, RomPathStep{0x0F9B, 0xD8},       RomPathStep{0x04DF, 0xCD},
        RomPathStep{0x04E4, 0x3E},       RomPathStep{0x04E6, 0xDB},       RomPathStep{0x04E8, 0x1F},
        RomPathStep{0x04E9, 0xD8},       RomPathStep{0x04E2, 0x18},
    },
    kNext);

// RST 10: DE onto the data stack at (SPARE).
inline constexpr std::array kPushDe{
    RomPathStep{0x0010, 0x2A}, RomPathStep{0x0013, 0x73}, RomPathStep{0x0014, 0x23},
    RomPathStep{0x0015, 0xC3}, RomPathStep{0x085F, 0x72}, RomPathStep{0x0860, 0x23},
    RomPathStep{0x0861, 0x22}, RomPathStep{0x0864, 0xC9},
};

// RST 18: DE off the data stack.
inline constexpr std::array kPopDe{
    RomPathStep{0x0018, 0x2A}, RomPathStep{0x001B, 0x2B}, RomPathStep{0x001C, 0x56},
    RomPathStep{0x001D, 0xC3}, RomPathStep{0x0859, 0x2B}, RomPathStep{0x085A, 0x5E},
    RomPathStep{0x085B, 0x22}, RomPathStep{0x085E, 0xC9},
};

// BC off the data stack.
inline constexpr std::array kPopBc{
    RomPathStep{0x084E, 0x2A}, RomPathStep{0x0851, 0x2B}, RomPathStep{0x0852, 0x46},
    RomPathStep{0x0853, 0x2B}, RomPathStep{0x0854, 0x4E}, RomPathStep{0x0855, 0x22},
    RomPathStep{0x0858, 0xC9},
};

// One bit of the 32-by-16 division: shift the dividend in, try the divisor, shift the
// quotient bit into DE' and HL'; DJNZ back for the next bit.
inline constexpr std::array kDivideStep{
    RomPathStep{0x0CDB, 0xED, 0x6A}, RomPathStep{0x0CDD, 0x9F},       RomPathStep{0x0CDE, 0xA7},
    RomPathStep{0x0CDF, 0xED, 0x52}, RomPathStep{0x0CE1, 0x99},       RomPathStep{0x0CE2, 0x30},
    RomPathStep{0x0CE4, 0x19},       RomPathStep{0x0CE5, 0x3F},       RomPathStep{0x0CE6, 0xD9},
    RomPathStep{0x0CE7, 0xEB},       RomPathStep{0x0CE8, 0xED, 0x6A}, RomPathStep{0x0CEA, 0xEB},
    RomPathStep{0x0CEB, 0xED, 0x6A}, RomPathStep{0x0CED, 0xD9},       RomPathStep{0x0CEE, 0x10},
};

// The jumps into the paths above, wherever they are: JP (IY) ends every primitive and
// goes to the word dispatch; RST 10 and RST 18 push and pop DE. A path led by one of
// them runs when the instruction at pc is that one.
inline constexpr auto kJumpToWordDispatch =
    Joined(std::array{RomPathStep{0, 0xFD, 0xE9, true}}, kWordDispatch);
inline constexpr auto kRestartPushDe = Joined(std::array{RomPathStep{0, 0xD7, 0, true}}, kPushDe);
inline constexpr auto kRestartPopDe = Joined(std::array{RomPathStep{0, 0xDF, 0, true}}, kPopDe);

// No instruction costs more than this; a path of n steps needs n times it before `end`.
constexpr uint32_t kLongestInstructionTstates = 23;

constexpr bool IsOneOf(uint8_t op, std::initializer_list<uint8_t> ops) {
    for (const uint8_t o : ops)
        if (op == o) return true;
    return false;
}

// The ED opcodes a step may have: 16-bit ADC and SBC and the 16-bit loads and stores.
constexpr bool EdWritesMemory(uint8_t op2) {
    return IsOneOf(op2, {0x43, 0x53, 0x63, 0x73});
}
constexpr bool EdAllowed(uint8_t op2) {
    return EdWritesMemory(op2) ||
           IsOneOf(op2, {0x42, 0x52, 0x62, 0x72, 0x4A, 0x5A, 0x6A, 0x7A, 0x4B, 0x5B, 0x6B, 0x7B});
}

// Not in a step: what changes the interrupt state or stops the processor (the frame
// loop looks at those), the prefixes other than ED, and the ports' writes.
constexpr bool StepAllowed(const RomPathStep& s) {
    if (s.op == 0xED) return EdAllowed(s.op2);
    if (s.op == 0xFD) return s.op2 == 0xE9 && s.anywhere;
    return !IsOneOf(s.op, {0x76, 0xF3, 0xFB, 0xCB, 0xDD, 0xD3});
}

// The steps that may write memory, and so video RAM: the beam must be where the
// instruction starts (the write is shown from there on).
constexpr bool StepWritesMemory(const RomPathStep& s) {
    if (s.op == 0xED) return EdWritesMemory(s.op2);
    const uint8_t op = s.op;
    if ((op & 0xC7) == 0xC7 || (op & 0xC7) == 0xC4) return true; // RST, CALL cc
    return IsOneOf(op, {0x02, 0x12, 0x22, 0x32, 0x34, 0x35, 0x36, 0x70, 0x71, 0x72,
                        0x73, 0x74, 0x75, 0x77, 0xC5, 0xD5, 0xE5, 0xF5, 0xCD, 0xE3});
}

// IN A,(n): the port sees when its instruction started (the speaker's edge).
constexpr bool StepReadsPort(const RomPathStep& s) {
    return s.op == 0xDB;
}

// What the path's last step leaves for the debugger and the hooks, kept in registers
// while it runs: where that step started, its address, and the opcode fetches so far.
struct PathRun {
    uint32_t lastStart = 0;
    uint16_t lastPc = 0;
    uint8_t fetches = 0;
};

// One step: when pc is at its address, the instruction as the step runs it.
template <RomPathStep s, class Bus>
[[gnu::always_inline]] inline void RunStep(MachineState& m, Bus& bus, PathRun& run) {
    static_assert(StepAllowed(s));
    if constexpr (!s.anywhere)
        if (m.pc != s.pc) return;
    run.lastStart = m.tstates;
    run.lastPc = m.pc;
    if constexpr (StepWritesMemory(s)) MoveBeam(m.tstates);
    if constexpr (StepReadsPort(s)) m.instrStart = m.tstates;
    if constexpr (s.op == 0xFD) { // JP (IY): as ExecIndexed runs it
        m.q = 0;
        m.pc = m.iy.w;
        m.tstates += 8;
        run.fetches += 2;
    } else if constexpr (s.op == 0xED) {
        const uint8_t lastQ = m.q;
        m.q = 0;
        m.pc = uint16_t(m.pc + 2);
        run.fetches += 2;
        z80::ExecEdOpcode(m, bus, s.op2, lastQ);
    } else {
        m.pc = uint16_t(m.pc + 1);
        run.fetches += 1;
        z80::ExecMain(m, bus, s.op);
    }
}

// True when the ROM holds every step's opcode at its address (the caller has looked at
// a first step that runs anywhere).
template <RomPathStep s> [[gnu::always_inline]] inline bool OpcodeMatches(const uint8_t* rom) {
    if constexpr (s.anywhere)
        return true;
    else
        return rom[s.pc] == s.op && (s.op != 0xED || rom[s.pc + 1] == s.op2);
}
template <const auto& path, size_t... I>
[[gnu::always_inline]] inline bool OpcodesMatch(std::index_sequence<I...>) {
    const uint8_t* rom = machine.pages[0];
    return (OpcodeMatches<path[I]>(rom) && ...);
}

template <const auto& path, class Bus, size_t... I>
[[gnu::always_inline]] inline void RunSteps(MachineState& m, Bus& bus, PathRun& run,
                                            std::index_sequence<I...>) {
    (RunStep<path[I]>(m, bus, run), ...);
}

// Only a path's first step may run anywhere, and only as one of the instructions that
// RunRomPath looks for (their bytes are checked there, not by OpcodesMatch).
template <const auto& path> constexpr bool AnywhereOnlyLeads() {
    for (size_t k = 1; k < path.size(); ++k)
        if (path[k].anywhere) return false;
    const RomPathStep& first = path[0];
    return !first.anywhere || first.op == 0xD7 || first.op == 0xDF || (first.op == 0xFD && first.op2 == 0xE9);
}

// The whole path, then the bookkeeping a step leaves, for the last step that ran.
template <const auto& path, class Bus> [[gnu::noinline]] void RunPath(MachineState& m, Bus& bus) {
    static_assert(AnywhereOnlyLeads<path>());
    m.eiDelay = 0;
    m.prefixDelay = 0;
    PathRun run;
    RunSteps<path>(m, bus, run, std::make_index_sequence<path.size()>{});
    m.r = uint8_t(m.r + run.fetches);
    m.instrStart = run.lastStart;
    m.lastPc = run.lastPc;
    MoveBeam(m.tstates);
}

template <const auto& path> constexpr uint32_t PathTstates() {
    return uint32_t(path.size()) * kLongestInstructionTstates;
}

// False when the path may not run: it does not fit before `end`, or the ROM is another.
// Entered only at a step's address (kPathAt), so a path that runs runs a step at least.
template <const auto& path, class Bus>
[[gnu::always_inline]] inline bool TryPath(MachineState& m, Bus& bus, uint32_t end) {
    if (m.tstates + PathTstates<path>() >= end) return false;
    if (!OpcodesMatch<path>(std::make_index_sequence<path.size()>{})) return false;
    RunPath<path>(m, bus);
    return true;
}

// Which path starts at a ROM address: 0 for none, else its number in RunRomPath.
constexpr uint16_t kPathsEnd = 0x1000;
inline constexpr std::array<uint8_t, kPathsEnd> kPathAt = [] {
    std::array<uint8_t, kPathsEnd> at{};
    at[kWordDispatch[0].pc] = 1;
    at[kNext[0].pc] = 2;
    at[kNext[1].pc] = 2;
    at[kPushDe[0].pc] = 3;
    at[kPopDe[0].pc] = 4;
    at[kPopBc[0].pc] = 5;
    at[kDivideStep[0].pc] = 6;
    return at;
}();

} // namespace rom_paths

// Runs the path that starts at pc, if one does and it may run now; false when none ran
// (the caller steps instead). Past the interrupt window, on the plain bus, only.
template <class Bus> [[gnu::always_inline]] inline bool RunRomPath(MachineState& m, Bus& bus, uint32_t end) {
    using namespace rom_paths;
    const uint16_t pc = m.pc;
    const uint8_t path = pc < kPathsEnd ? kPathAt[pc] : 0;
    const uint8_t op = FetchOpcodeByte(pc);
    if (!path && op != 0xFD && op != 0xD7 && op != 0xDF) [[likely]]
        return false;
    if (AnyRareHookOn()) return false;
    switch (path) {
    case 1: return TryPath<kWordDispatch>(m, bus, end);
    case 2: return TryPath<kNext>(m, bus, end);
    case 3: return TryPath<kPushDe>(m, bus, end);
    case 4: return TryPath<kPopDe>(m, bus, end);
    case 5: return TryPath<kPopBc>(m, bus, end);
    case 6: return TryPath<kDivideStep>(m, bus, end);
    }
    if (op == 0xD7) return TryPath<kRestartPushDe>(m, bus, end);
    if (op == 0xDF) return TryPath<kRestartPopDe>(m, bus, end);
    if (FetchOpcodeByte(uint16_t(pc + 1)) == 0xE9) return TryPath<kJumpToWordDispatch>(m, bus, end);
    return false;
}
