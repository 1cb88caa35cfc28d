// A whole machine at one moment, for tests that run the same stretch two ways (the frame
// loop's shortcuts against plain stepping) and expect the very same end: registers and
// latches, the clock, the beam, memory, the frame's log of video RAM writes and where the
// sound was last caught up to (a speaker edge).
#pragma once

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "display/renderer.h"
#include "machine/machine_state.h"
#include "sound/sound_output.h"

struct MachineSnapshot {
    MachineState state;
    std::vector<uint8_t> ram;
    uint32_t beam;
    std::vector<ScreenWrite> screenWrites;
    uint32_t soundCaughtUpTo;
};

inline MachineSnapshot Take() {
    const ScreenWriteLog& log = renderer.currentFrameWrites;
    return {machine, std::vector<uint8_t>(machine.ram, machine.ram + 0x10000), BeamPosition(),
            std::vector<ScreenWrite>(log.writes, log.writes + log.count), soundStream.caughtUpTo};
}

inline void Restore(const MachineSnapshot& s) {
    uint8_t* ram = machine.ram;
    machine = s.state;
    machine.ram = ram;
    std::memcpy(machine.ram, s.ram.data(), s.ram.size());
    RenderToBeam(s.beam);
    renderer.currentFrameWrites.count = int(s.screenWrites.size());
    std::copy(s.screenWrites.begin(), s.screenWrites.end(), renderer.currentFrameWrites.writes);
    soundStream.caughtUpTo = s.soundCaughtUpTo;
}

// What differs between two snapshots, "" when nothing does.
inline std::string Differences(const MachineSnapshot& a, const MachineSnapshot& b) {
    std::string out;
    const auto check = [&out](const char* name, uint32_t x, uint32_t y) {
        if (x != y) out += std::string(name) + " " + std::to_string(x) + " vs " + std::to_string(y) + "; ";
    };
    const MachineState &p = a.state, &q = b.state;
#define NOLTACE_CHECK_FIELD(field) check(#field, p.field, q.field)
    NOLTACE_CHECK_FIELD(pc);
    NOLTACE_CHECK_FIELD(lastPc);
    NOLTACE_CHECK_FIELD(sp);
    NOLTACE_CHECK_FIELD(af.w);
    NOLTACE_CHECK_FIELD(bc.w);
    NOLTACE_CHECK_FIELD(de.w);
    NOLTACE_CHECK_FIELD(hl.w);
    NOLTACE_CHECK_FIELD(ix.w);
    NOLTACE_CHECK_FIELD(iy.w);
    NOLTACE_CHECK_FIELD(ir);
    NOLTACE_CHECK_FIELD(memptr);
    NOLTACE_CHECK_FIELD(q);
    NOLTACE_CHECK_FIELD(afAlt.w);
    NOLTACE_CHECK_FIELD(bcAlt.w);
    NOLTACE_CHECK_FIELD(deAlt.w);
    NOLTACE_CHECK_FIELD(hlAlt.w);
    NOLTACE_CHECK_FIELD(iff1);
    NOLTACE_CHECK_FIELD(iff2);
    NOLTACE_CHECK_FIELD(eiDelay);
    NOLTACE_CHECK_FIELD(prefixDelay);
    NOLTACE_CHECK_FIELD(speakerToggle);
    NOLTACE_CHECK_FIELD(earLevel);
    NOLTACE_CHECK_FIELD(halted);
    NOLTACE_CHECK_FIELD(tstates);
    NOLTACE_CHECK_FIELD(instrStart);
#undef NOLTACE_CHECK_FIELD
    check("beam", a.beam, b.beam);
    check("sound caught up to", a.soundCaughtUpTo, b.soundCaughtUpTo);
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
