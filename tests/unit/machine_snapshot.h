// A whole machine at one moment, for tests that run the same stretch two ways (the frame
// loop's shortcuts against plain stepping) and expect the very same end: registers and
// latches, the clock, the beam, memory and the frame's log of video RAM writes.
#pragma once

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "display/renderer.h"
#include "machine/machine_state.h"

struct MachineSnapshot {
    MachineState state;
    std::vector<uint8_t> ram;
    uint32_t beam;
    std::vector<ScreenWrite> screenWrites;
};

inline MachineSnapshot Take() {
    const ScreenWriteLog& log = renderer.currentFrameWrites;
    return {machine, std::vector<uint8_t>(machine.ram, machine.ram + 0x10000), BeamPosition(),
            std::vector<ScreenWrite>(log.writes, log.writes + log.count)};
}

inline void Restore(const MachineSnapshot& s) {
    uint8_t* ram = machine.ram;
    machine = s.state;
    machine.ram = ram;
    std::memcpy(machine.ram, s.ram.data(), s.ram.size());
    RenderToBeam(s.beam);
    renderer.currentFrameWrites.count = int(s.screenWrites.size());
    std::copy(s.screenWrites.begin(), s.screenWrites.end(), renderer.currentFrameWrites.writes);
}

// What differs between two snapshots, "" when nothing does.
inline std::string Differences(const MachineSnapshot& a, const MachineSnapshot& b) {
    std::string out;
    const auto check = [&out](const char* name, uint32_t x, uint32_t y) {
        if (x != y) out += std::string(name) + " " + std::to_string(x) + " vs " + std::to_string(y) + "; ";
    };
    const MachineState &p = a.state, &q = b.state;
    check("pc", p.pc, q.pc);
    check("lastPc", p.lastPc, q.lastPc);
    check("sp", p.sp, q.sp);
    check("af", p.af.w, q.af.w);
    check("bc", p.bc.w, q.bc.w);
    check("de", p.de.w, q.de.w);
    check("hl", p.hl.w, q.hl.w);
    check("ix", p.ix.w, q.ix.w);
    check("iy", p.iy.w, q.iy.w);
    check("ir", p.ir, q.ir);
    check("memptr", p.memptr, q.memptr);
    check("q", p.q, q.q);
    check("afAlt", p.afAlt.w, q.afAlt.w);
    check("bcAlt", p.bcAlt.w, q.bcAlt.w);
    check("deAlt", p.deAlt.w, q.deAlt.w);
    check("hlAlt", p.hlAlt.w, q.hlAlt.w);
    check("iff1", p.iff1, q.iff1);
    check("iff2", p.iff2, q.iff2);
    check("eiDelay", p.eiDelay, q.eiDelay);
    check("prefixDelay", p.prefixDelay, q.prefixDelay);
    check("speakerToggle", p.speakerToggle, q.speakerToggle);
    check("halted", p.halted, q.halted);
    check("tstates", p.tstates, q.tstates);
    check("instrStart", p.instrStart, q.instrStart);
    check("beam", a.beam, b.beam);
    if (a.ram != b.ram) out += "RAM; ";
    check("screen writes", uint32_t(a.screenWrites.size()), uint32_t(b.screenWrites.size()));
    for (size_t k = 0; k < a.screenWrites.size() && k < b.screenWrites.size(); ++k) {
        const ScreenWrite &x = a.screenWrites[k], &y = b.screenWrites[k];
        check("screen write due", x.due, y.due);
        check("screen write offset", x.offset, y.offset);
        if (x.before != y.before || x.after != y.after) out += "screen write bytes; ";
    }
    return out;
}
