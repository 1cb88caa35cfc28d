// The switches of the per-instruction hooks that are off nearly all the time: a
// requested NMI, the tape decks' ROM hooks and clocks, breakpoints, watchpoints and
// the PC log. Each switch is one byte of a single 16-byte block, so the instruction step
// asks "is any of them on?" with one test and, while none is, pays nothing more for
// them (instruction_hooks.h).
//
// The subsystems keep their own names for their switches: each name is a reference to
// its byte here (`inline bool& tzxPlaying = rareHookSwitches.tzxPlaying;`), so setting
// or clearing the switch anywhere arms or disarms the hook with no call to remember.
//
// Adding a hook that is usually off: give it a byte here (a spare one), declare its
// name as such a reference in its subsystem's header, and test it inside
// RunRareHooks at its place in the fixed order.
#pragma once

#include <cstdint>
#include <cstring>

struct RareHookSwitches {
    bool nmiRequested;  // NmiRequested (machine/run_state.h)
    bool tzxInserted;   // tape/tape_deck.h
    bool tzxPlaying;    // tape/tape_deck.h
    bool wavLoaded;     // tape/wav_deck.h
    bool recordArmed;   // tape/wav_deck.h
    bool wavPlaying;    // tape/wav_deck.h
    bool recording;     // tape/wav_deck.h
    bool debugHooksOn;  // debugger/breakpoints.h
    bool pcLogOn;       // debugger/pc_log.h
    bool pcLogOneFrame; // debugger/pc_log.h
    bool watchpointsOn; // debugger/breakpoints.h
    bool spare[5];      // for hooks still to come; keep the block 16 bytes
};
static_assert(sizeof(RareHookSwitches) == 16);

alignas(16) inline RareHookSwitches rareHookSwitches{};

inline bool AnyRareHookOn() {
    uint64_t low, high;
    std::memcpy(&low, &rareHookSwitches, 8);
    std::memcpy(&high, reinterpret_cast<const char*>(&rareHookSwitches) + 8, 8);
    return (low | high) != 0;
}

// True when breakpoints are the only thing armed, the debugger's usual state: the step
// then tests them inline instead of walking the whole rare path.
inline bool OnlyBreakpointsOn() {
    static constexpr RareHookSwitches kOnlyBreakpoints = [] {
        RareHookSwitches s{};
        s.debugHooksOn = true;
        return s;
    }();
    return std::memcmp(&rareHookSwitches, &kOnlyBreakpoints, sizeof kOnlyBreakpoints) == 0;
}
