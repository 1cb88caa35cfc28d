// Breakpoints and watchpoints, tested by the instruction step after every instruction.
//
// A table of up to 256 entries, each with an optional register condition ("A=#3C",
// "HL>$8000", "SP<16384"). An execute entry is an address: when the next instruction's
// address matches it, the debugger opens (Host::RunDebugger) from inside the step. A
// watchpoint is an address range written or read by an instruction, or a port (IN or
// OUT); it stops after the instruction that touched it. While the debugger itself drives
// the machine, a hit only stops its run.
//
// debugHooksOn is derived from what is armed: an active execute entry or a PC log. The
// instruction step tests that one flag; the table walk happens only at addresses that
// carry an active entry (one bit per address). Watchpoints have a switch of their own,
// watchpointsOn: only while it is set does the step watch memory and ports
// (machine/watching_bus.h), so with none armed an instruction pays nothing for them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "machine/hook_switches.h"
#include "machine/machine_state.h"

// The step consults breakpoints and the PC log only while set.
inline bool& debugHooksOn = rareHookSwitches.debugHooksOn;
// The step watches memory and port accesses only while set.
inline bool& watchpointsOn = rareHookSwitches.watchpointsOn;

constexpr int kMaxBreakpoints = 256;

enum ConditionOperator : int32_t { kConditionEqual = 1, kConditionLess = 2, kConditionGreater = 3 };

// What an entry watches: an instruction's address, memory written or read, or a port.
enum class BreakKind : uint8_t { Execute, Write, Read, Port };

struct Breakpoint {
    BreakKind kind = BreakKind::Execute;
    uint32_t address = 0;
    uint32_t end = 0;              // the range's last address (Write, Read); else = address
    std::string conditionText;     // as typed, without white space, upper-cased; "" = none
    uint8_t active = 0;            // 0 = "YES", 1 = "NO"
    uint8_t conditionRegister = 0; // index into kConditionRegisterNames
    int32_t conditionOperator = 0;
    uint32_t conditionValue = 0;
    bool hasCondition = false; // a valid condition was given (its value may well be 0)
};

// "A" "B" "C" "D" "E" "F" "H" "L" "I" "R" (8-bit), "AF" "BC" "DE" "HL" "IX" "IY" "IR" "SP".
extern const char* const kConditionRegisterNames[18];

// The access that hit a watchpoint during the current instruction; kind Execute = none.
struct WatchHit {
    BreakKind kind = BreakKind::Execute;
    uint16_t address = 0;
};

struct BreakpointState {
    Breakpoint breakpoints[kMaxBreakpoints];
    int breakpointCount = 0;
    // Set by checkBreakpoints when an entry fires while the debugger is open (it then does
    // not open a second debugger); the debugger's runs stop on it and clear it.
    bool breakpointHit = false;
    // The entry that opened the debugger, while it is open because of one; else -1.
    int openingBreakpoint = -1;
    // One bit per address, set where an active entry sits: the step's test is a single
    // look-up, inline, whatever the table holds.
    uint64_t armedAddresses[0x10000 / 64]{};
    // One bit per address (or port) that an active watchpoint covers.
    uint64_t watchedWrites[0x10000 / 64]{};
    uint64_t watchedReads[0x10000 / 64]{};
    uint64_t watchedPorts[0x10000 / 64]{}; // a port entry up to #FF covers every high byte
    WatchHit watchHit;
    WatchHit lastWatchHit; // the hit that opened the debugger, for its status line

    // An empty table, nothing hit; the hook switches follow (the PC log's stay).
    void Reset();
};
extern BreakpointState breakpointState;

enum class BreakpointResult { Ok, TableFull, BadAddress };

// The breakpoint dialogs' numbers: ParseNumber (base/number_text.h) up to 65535, with
// spaces anywhere ignored; nullopt for anything else.
std::optional<uint32_t> parseNumber(const std::string& text);
// True for an entry with no condition; else compares the named register with the value.
bool conditionHolds(int index);
// The table walk, for an address that carries an active entry.
void checkBreakpointsAt(uint16_t pc);

// Called after every instruction while debugHooksOn is set, with pc on the next one.
inline void checkBreakpoints() {
    const uint16_t pc = machine.pc;
    if (breakpointState.armedAddresses[pc >> 6] >> (pc & 63) & 1) [[unlikely]]
        checkBreakpointsAt(pc);
}

// The list window's commands. Add and Update take the two fields as typed; an address
// above machine.ramTop is refused (BadAddress), as is a 257th entry (TableFull). The
// callers report those (messages 82 and 7).
// A watchpoint's address text may be a range, "#3C4C-#3C4D"; watchpoints and ports take
// any address up to 65535.
BreakpointResult AddBreakpoint(const std::string& addressText, const std::string& conditionText,
                               BreakKind kind = BreakKind::Execute);
BreakpointResult UpdateBreakpoint(int index, const std::string& addressText, const std::string& conditionText,
                                  bool active, BreakKind kind = BreakKind::Execute);
// Removes entry `index`, or the last entry when index is -1; nothing on an empty table.
void DeleteBreakpoint(int index);
void ClearBreakpoints();
// "#%04X" of the entry's address; "#%04X-#%04X" for a range.
std::string BreakpointAddressText(int index);
// "EXEC", "WRITE", "READ" or "PORT".
const char* BreakKindText(BreakKind kind);

// --- watchpoints: what the watching step calls --------------------------------------

inline bool Watched(const uint64_t* map, uint16_t a) {
    return map[a >> 6] >> (a & 63) & 1;
}
// After an instruction that hit one: stops like a breakpoint when an entry's condition
// holds. True when it stopped (or ended the debugger's run).
bool checkWatchpoints();
// "write to #3C4C", "read of #3C4C", "port #FE"; "" when the debugger did not open for
// a watchpoint.
std::string WatchHitText();

// Recomputes debugHooksOn and the address map from the table and the PC log flags; the
// PC log calls it when logging starts or stops.
void UpdateDebugHooks();
