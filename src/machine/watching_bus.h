// The Ace's bus while watchpoints are armed: every data access and port access is
// looked up in the watch maps (debugger/breakpoints.h), and a hit is noted for the step
// to stop on after the instruction. The step uses it only while watchpointsOn is set,
// so the usual AceBus stays as lean as ever.
#pragma once

#include "debugger/breakpoints.h"
#include "machine/ace_bus.h"

struct WatchingBus : AceBus {
    uint8_t Read(uint16_t a) {
        Note(breakpointState.watchedReads, BreakKind::Read, a);
        return ReadMemory(a);
    }
    void Write(uint16_t a, uint8_t v) {
        Note(breakpointState.watchedWrites, BreakKind::Write, a);
        WriteMemory(a, v);
    }
    uint8_t In(uint16_t port) {
        Note(breakpointState.watchedPorts, BreakKind::Port, port);
        return PortIn(port);
    }
    void Out(uint16_t port, uint8_t v) {
        Note(breakpointState.watchedPorts, BreakKind::Port, port);
        PortOut(port, v);
    }

  private:
    // A mirror is the same memory: a watch on 3C80 sees a write to 3080 as well.
    static void Note(const uint64_t* map, BreakKind kind, uint16_t a) {
        if (breakpointState.watchHit.kind != BreakKind::Execute) return; // the first hit of the instruction
        const uint16_t folded = kind == BreakKind::Port ? a : FoldMirrors(a);
        if (Watched(map, a))
            breakpointState.watchHit = {kind, a};
        else if (Watched(map, folded))
            breakpointState.watchHit = {kind, folded};
    }
};
