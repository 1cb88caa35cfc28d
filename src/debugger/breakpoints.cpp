#include "debugger/breakpoints.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>

#include "base/number_text.h"
#include "debugger/debugger_session.h"
#include "debugger/pc_log.h"
#include "machine/machine_state.h"

const char* const kConditionRegisterNames[18] = {"A", "B",  "C",  "D",  "E",  "F",  "H",  "L",  "I",
                                                 "R", "AF", "BC", "DE", "HL", "IX", "IY", "IR", "SP"};

BreakpointState breakpointState;

void BreakpointState::Reset() {
    // The table keeps the entries past its count empty.
    for (int k = 0; k < breakpointCount; ++k)
        breakpoints[k] = Breakpoint{};
    breakpointCount = 0;
    breakpointHit = false;
    openingBreakpoint = -1;
    watchHit = lastWatchHit = WatchHit{};
    UpdateDebugHooks(); // empties the maps
}

namespace {

constexpr int kFirstWideRegister = 10;

uint32_t RegisterValue(int index) {
    const MachineState& m = machine;
    switch (index) {
    case 0: return m.af.hi;
    case 1: return m.bc.hi;
    case 2: return m.bc.lo;
    case 3: return m.de.hi;
    case 4: return m.de.lo;
    case 5: return m.af.lo;
    case 6: return m.hl.hi;
    case 7: return m.hl.lo;
    case 8: return m.i;
    case 9: return m.r;
    case 10: return m.af.w;
    case 11: return m.bc.w;
    case 12: return m.de.w;
    case 13: return m.hl.w;
    case 14: return m.ix.w;
    case 15: return m.iy.w;
    case 16: return m.ir;
    default: return m.sp;
    }
}

std::string Squeezed(const std::string& text) {
    std::string out;
    for (unsigned char c : text)
        if (!std::isspace(c)) out += char(std::toupper(c));
    return out;
}

// "REG=VALUE", "REG<VALUE" or "REG>VALUE"; anything else is kept as text but sets no
// condition.
void ParseCondition(Breakpoint& entry, const std::string& typed) {
    entry.conditionText = Squeezed(typed);
    entry.hasCondition = false;
    entry.conditionRegister = 0;
    entry.conditionOperator = 0;
    entry.conditionValue = 0;
    const std::string& text = entry.conditionText;
    static const char kOperators[3] = {'=', '<', '>'};
    for (int op = 0; op < 3; ++op) {
        const std::string::size_type at = text.find(kOperators[op]);
        if (at == std::string::npos) continue;
        const std::string name = text.substr(0, at);
        const uint32_t value = parseNumber(text.substr(at + 1)).value_or(UINT32_MAX);
        for (int reg = 0; reg < 18; ++reg) {
            if (name != kConditionRegisterNames[reg]) continue;
            const uint32_t limit = reg < kFirstWideRegister ? 0xFF : 0xFFFF;
            if (value > limit) return;
            entry.conditionRegister = uint8_t(reg);
            entry.conditionOperator = op + 1;
            entry.conditionValue = value;
            entry.hasCondition = true;
            return;
        }
        return;
    }
}

bool ValidAddress(uint32_t address) {
    return address <= machine.ramTop;
}

// The entry's address (and range end) from the text: one address for an execute entry
// (within the model's memory) and a port, "A" or "A-B" for memory watched.
bool ParseAddress(Breakpoint& entry, const std::string& typed, BreakKind kind) {
    const std::string text = Squeezed(typed);
    const std::string::size_type dash =
        kind == BreakKind::Write || kind == BreakKind::Read ? text.find('-') : std::string::npos;
    const std::optional<uint32_t> first = parseNumber(text.substr(0, dash));
    const std::optional<uint32_t> last = dash == std::string::npos ? first : parseNumber(text.substr(dash + 1));
    if (!first || !last || *last < *first) return false;
    const uint32_t start = *first, end = *last;
    if (kind == BreakKind::Execute && !ValidAddress(start)) return false;
    entry.kind = kind;
    entry.address = start;
    entry.end = end;
    return true;
}

void Mark(uint64_t* map, uint32_t a) {
    map[(a & 0xFFFF) >> 6] |= uint64_t(1) << (a & 63);
}

// Opens the debugger for entry k, or ends the debugger's own run.
void StopFor(int k) {
    // One stop per instruction boundary, however many entries match there.
    if (debuggerSession.debuggerOpen) {
        breakpointState.breakpointHit = true;
        return;
    }
    breakpointState.openingBreakpoint = k;
    RunDebuggerModally();
    breakpointState.openingBreakpoint = -1;
}

} // namespace

std::optional<uint32_t> parseNumber(const std::string& typed) {
    return ParseNumber(Squeezed(typed), 0xFFFF);
}

bool conditionHolds(int index) {
    const Breakpoint& entry = breakpointState.breakpoints[index];
    if (!entry.hasCondition) return true;
    const uint32_t value = RegisterValue(entry.conditionRegister);
    switch (entry.conditionOperator) {
    case kConditionEqual: return value == entry.conditionValue;
    case kConditionLess: return value < entry.conditionValue;
    case kConditionGreater: return value > entry.conditionValue;
    default: return false;
    }
}

void checkBreakpointsAt(uint16_t pc) {
    for (int k = 0; k < breakpointState.breakpointCount; ++k) {
        const Breakpoint& entry = breakpointState.breakpoints[k];
        if (entry.kind != BreakKind::Execute || entry.address != pc || entry.active != 0 ||
            !conditionHolds(k))
            continue;
        StopFor(k);
        return;
    }
}

bool checkWatchpoints() {
    const WatchHit hit = breakpointState.watchHit;
    breakpointState.watchHit = WatchHit{};
    if (hit.kind == BreakKind::Execute) return false;
    for (int k = 0; k < breakpointState.breakpointCount; ++k) {
        const Breakpoint& entry = breakpointState.breakpoints[k];
        if (entry.kind != hit.kind || entry.active != 0) continue;
        const bool covers = hit.kind == BreakKind::Port
                                ? entry.address == hit.address ||
                                      (entry.address <= 0xFF && entry.address == (hit.address & 0xFF))
                                : hit.address >= entry.address && hit.address <= entry.end;
        if (!covers || !conditionHolds(k)) continue;
        breakpointState.lastWatchHit = hit;
        StopFor(k);
        return true;
    }
    return false;
}

std::string WatchHitText() {
    if (breakpointState.openingBreakpoint < 0 ||
        breakpointState.breakpoints[breakpointState.openingBreakpoint].kind == BreakKind::Execute)
        return {};
    const char* what = breakpointState.lastWatchHit.kind == BreakKind::Write  ? "write to"
                       : breakpointState.lastWatchHit.kind == BreakKind::Read ? "read of"
                                                                              : "port";
    char text[32];
    std::snprintf(text, sizeof text, "%s #%04X", what, unsigned(breakpointState.lastWatchHit.address));
    return text;
}

BreakpointResult AddBreakpoint(const std::string& addressText, const std::string& conditionText,
                               BreakKind kind) {
    if (breakpointState.breakpointCount >= kMaxBreakpoints) return BreakpointResult::TableFull;
    Breakpoint entry;
    if (!ParseAddress(entry, addressText, kind)) return BreakpointResult::BadAddress;
    ParseCondition(entry, conditionText);
    breakpointState.breakpoints[breakpointState.breakpointCount++] = entry;
    UpdateDebugHooks();
    return BreakpointResult::Ok;
}

BreakpointResult UpdateBreakpoint(int index, const std::string& addressText, const std::string& conditionText,
                                  bool active, BreakKind kind) {
    if (index < 0 || index >= breakpointState.breakpointCount) return BreakpointResult::BadAddress;
    Breakpoint& entry = breakpointState.breakpoints[index];
    if (!ParseAddress(entry, addressText, kind)) return BreakpointResult::BadAddress;
    ParseCondition(entry, conditionText);
    entry.active = active ? 0 : 1;
    UpdateDebugHooks();
    return BreakpointResult::Ok;
}

void DeleteBreakpoint(int index) {
    if (breakpointState.breakpointCount == 0) return;
    if (index < 0 || index >= breakpointState.breakpointCount) index = breakpointState.breakpointCount - 1;
    for (int k = index; k + 1 < breakpointState.breakpointCount; ++k)
        breakpointState.breakpoints[k] = breakpointState.breakpoints[k + 1];
    breakpointState.breakpoints[--breakpointState.breakpointCount] = Breakpoint{};
    UpdateDebugHooks();
}

void ClearBreakpoints() {
    for (int k = 0; k < breakpointState.breakpointCount; ++k)
        breakpointState.breakpoints[k] = Breakpoint{};
    breakpointState.breakpointCount = 0;
    breakpointState.breakpointHit = false;
    UpdateDebugHooks();
}

std::string BreakpointAddressText(int index) {
    const Breakpoint& entry = breakpointState.breakpoints[index];
    char text[24];
    if (entry.end > entry.address)
        std::snprintf(text, sizeof text, "#%04X-#%04X", unsigned(entry.address), unsigned(entry.end));
    else
        std::snprintf(text, sizeof text, "#%04X", unsigned(entry.address & 0xFFFF));
    return text;
}

const char* BreakKindText(BreakKind kind) {
    switch (kind) {
    case BreakKind::Write: return "WRITE";
    case BreakKind::Read: return "READ";
    case BreakKind::Port: return "PORT";
    default: return "EXEC";
    }
}

void UpdateDebugHooks() {
    for (uint64_t* map : {breakpointState.armedAddresses, breakpointState.watchedWrites,
                          breakpointState.watchedReads, breakpointState.watchedPorts})
        std::memset(map, 0, 0x10000 / 64 * sizeof *map);
    bool anyActive = false, anyWatch = false;
    for (int k = 0; k < breakpointState.breakpointCount; ++k) {
        const Breakpoint& entry = breakpointState.breakpoints[k];
        if (entry.active != 0) continue;
        switch (entry.kind) {
        case BreakKind::Execute:
            Mark(breakpointState.armedAddresses, entry.address);
            anyActive = true;
            break;
        case BreakKind::Write:
        case BreakKind::Read:
            for (uint32_t a = entry.address; a <= entry.end; ++a)
                Mark(entry.kind == BreakKind::Write ? breakpointState.watchedWrites
                                                    : breakpointState.watchedReads,
                     a);
            anyWatch = true;
            break;
        case BreakKind::Port:
            // The Ace decodes ports on the low byte: a port up to #FF is any high byte.
            for (uint32_t high = 0; high <= (entry.address <= 0xFF ? 0xFFu : 0u); ++high)
                Mark(breakpointState.watchedPorts, entry.address | high << 8);
            anyWatch = true;
            break;
        }
    }
    debugHooksOn = anyActive || pcLogOn || pcLogOneFrame;
    watchpointsOn = anyWatch;
    breakpointState.watchHit = WatchHit{};
}
