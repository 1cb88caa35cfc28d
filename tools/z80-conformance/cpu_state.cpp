#include "cpu_state.h"

#include <cstdio>

std::string Hex2(unsigned v) {
    char s[8];
    std::snprintf(s, sizeof s, "%02X", v & 0xFF);
    return s;
}

std::string Hex4(unsigned v) {
    char s[8];
    std::snprintf(s, sizeof s, "%04X", v & 0xFFFF);
    return s;
}

void LoadRegs(MachineState& m, const Z80Regs& regs) {
    m = MachineState{};
    m.af.w = regs.af;
    m.bc.w = regs.bc;
    m.de.w = regs.de;
    m.hl.w = regs.hl;
    m.afAlt.w = regs.af2;
    m.bcAlt.w = regs.bc2;
    m.deAlt.w = regs.de2;
    m.hlAlt.w = regs.hl2;
    m.ix.w = regs.ix;
    m.iy.w = regs.iy;
    m.sp = regs.sp;
    m.pc = m.lastPc = regs.pc;
    m.memptr = regs.wz;
    m.i = regs.i;
    m.r = m.r7 = regs.r;
    m.iff1 = regs.iff1;
    m.iff2 = regs.iff2;
    m.im = regs.im;
    m.halted = regs.halted;
    m.q = regs.q;
    m.intLine = 0;
}

Z80Regs ReadRegs(const MachineState& m) {
    Z80Regs g;
    g.af = m.af.w;
    g.bc = m.bc.w;
    g.de = m.de.w;
    g.hl = m.hl.w;
    g.af2 = m.afAlt.w;
    g.bc2 = m.bcAlt.w;
    g.de2 = m.deAlt.w;
    g.hl2 = m.hlAlt.w;
    g.ix = m.ix.w;
    g.iy = m.iy.w;
    g.sp = m.sp;
    g.pc = m.pc;
    g.wz = m.memptr;
    g.i = m.i;
    g.r = uint8_t((m.r7 & 0x80) | (m.r & 0x7F));
    g.iff1 = m.iff1;
    g.iff2 = m.iff2;
    g.im = m.im;
    g.halted = m.halted;
    g.q = m.q;
    g.ei = m.eiDelay;
    return g;
}

namespace {

void Word(std::string& out, const char* name, unsigned want, unsigned got) {
    if (want == got) return;
    out += std::string(out.empty() ? "" : "; ") + name + " want " + Hex4(want) + " got " + Hex4(got);
}

void Byte(std::string& out, const char* name, unsigned want, unsigned got) {
    if (want == got) return;
    out += std::string(out.empty() ? "" : "; ") + name + " want " + Hex2(want) + " got " + Hex2(got);
}

void Flags(std::string& out, const char* name, unsigned want, unsigned got) {
    if (want == got) return;
    static const char* const kBitNames[8] = {"C", "N", "P", "3", "H", "5", "Z", "S"};
    std::string bits;
    for (int b = 7; b >= 0; --b)
        if (((want ^ got) >> b) & 1) bits += std::string(bits.empty() ? "" : " ") + kBitNames[b];
    out += std::string(out.empty() ? "" : "; ") + name + " want " + Hex2(want) + " got " + Hex2(got) +
           " (bits " + bits + ")";
}

} // namespace

std::string DescribeDifferences(const Z80Regs& want, const Z80Regs& got, CompareFields fields) {
    std::string out;
    Byte(out, "A", want.af >> 8, got.af >> 8);
    Flags(out, "F", want.af & 0xFF, got.af & 0xFF);
    Word(out, "BC", want.bc, got.bc);
    Word(out, "DE", want.de, got.de);
    Word(out, "HL", want.hl, got.hl);
    Byte(out, "A'", want.af2 >> 8, got.af2 >> 8);
    Flags(out, "F'", want.af2 & 0xFF, got.af2 & 0xFF);
    Word(out, "BC'", want.bc2, got.bc2);
    Word(out, "DE'", want.de2, got.de2);
    Word(out, "HL'", want.hl2, got.hl2);
    Word(out, "IX", want.ix, got.ix);
    Word(out, "IY", want.iy, got.iy);
    Word(out, "SP", want.sp, got.sp);
    Word(out, "PC", want.pc, got.pc);
    Word(out, "WZ", want.wz, got.wz);
    Byte(out, "I", want.i, got.i);
    Byte(out, "R", want.r, got.r);
    Byte(out, "IFF1", want.iff1, got.iff1);
    Byte(out, "IFF2", want.iff2, got.iff2);
    Byte(out, "IM", want.im, got.im);
    if (fields.halted) Byte(out, "halted", want.halted, got.halted);
    if (fields.q) Byte(out, "q", want.q, got.q);
    if (fields.ei) Byte(out, "ei", want.ei, got.ei);
    return out;
}
