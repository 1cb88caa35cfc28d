#include "instruction_test.h"

#include <unordered_map>

#include "machine/z80_core.h"

namespace {
// FUSE's longest test (a whole LDIR) is under 100 steps; a broken core must not hang us.
constexpr int kMaxSteps = 10000;
// A lone DD/FD prefix costs one opcode fetch on the real chip.
constexpr uint32_t kLonePrefixTstates = 4;
} // namespace

InstructionRunner::InstructionRunner() : bus_(std::make_unique<FlatBus>()) {}

RunOutcome InstructionRunner::Run(const InstructionTest& t) {
    FlatBus& bus = *bus_;
    for (uint16_t a : dirty_) bus.mem[a] = 0;
    dirty_.clear();
    bus.BeginTest(t.portReads);
    bus.script = t.portScript;
    for (const MemByte& b : t.initialMem) {
        bus.mem[b.addr] = b.value;
        dirty_.push_back(b.addr);
    }
    LoadRegs(m_, t.initial);

    RunOutcome out;
    auto clock = [&] { return m_.tstates + kLonePrefixTstates * uint32_t(out.lonePrefixes); };
    int steps = 0;
    if (t.runUntil == 0) {
        // One whole instruction: a lone prefix and the opcode it delays are one for the suite.
        do {
            Z80Step(m_, bus);
            if (m_.prefixDelay) ++out.lonePrefixes;
        } while (m_.prefixDelay && ++steps < kMaxSteps);
    } else {
        while (clock() < t.runUntil && steps++ < kMaxSteps) {
            Z80Step(m_, bus);
            if (m_.prefixDelay) ++out.lonePrefixes;
        }
    }
    out.ranAway = steps >= kMaxSteps;
    out.tstates = clock();
    out.regs = ReadRegs(m_);
    dirty_.insert(dirty_.end(), bus.written.begin(), bus.written.end());
    return out;
}

std::vector<uint8_t> InstructionRunner::OpcodeBytes(const InstructionTest& t, int count) {
    std::vector<uint8_t> bytes(count, 0);
    for (const MemByte& b : t.initialMem) {
        int offset = uint16_t(b.addr - t.initial.pc);
        if (offset < count) bytes[offset] = b.value;
    }
    return bytes;
}

namespace {

std::string PortText(const PortAccess& p) {
    return std::string(p.write ? "OUT " : "IN ") + Hex4(p.port) + "=" + Hex2(p.value);
}

std::string PortList(const std::vector<PortAccess>& ports) {
    std::string s;
    for (const PortAccess& p : ports) {
        if (!s.empty()) s += ',';
        s += PortText(p);
    }
    return s.empty() ? "none" : s;
}

void Append(std::string& out, const std::string& item) {
    if (item.empty()) return;
    if (!out.empty()) out += "; ";
    out += item;
}

} // namespace

std::string InstructionRunner::Compare(const InstructionTest& t, const RunOutcome& got) const {
    std::string out;
    if (got.ranAway) Append(out, "did not finish within " + std::to_string(kMaxSteps) + " steps");

    Z80Regs want = t.expected;
    Z80Regs have = got.regs;
    want.af &= 0xFF00 | t.flagMask;
    have.af &= 0xFF00 | t.flagMask;
    Append(out, DescribeDifferences(want, have, t.fields));

    if (got.tstates != t.expectedTstates)
        Append(out, "T-states want " + std::to_string(t.expectedTstates) + " got " + std::to_string(got.tstates));

    // Memory: every byte the test loaded, expects, or the core wrote.
    std::unordered_map<uint16_t, uint8_t> wantMem;
    for (const MemByte& b : t.initialMem) wantMem[b.addr] = b.value;
    for (const MemByte& b : t.expectedMem) wantMem[b.addr] = b.value;
    std::vector<uint16_t> addresses;
    for (const auto& [a, v] : wantMem) addresses.push_back(a);
    addresses.insert(addresses.end(), bus_->written.begin(), bus_->written.end());
    std::unordered_map<uint16_t, bool> reported;
    for (uint16_t a : addresses) {
        auto it = wantMem.find(a);
        uint8_t w = it == wantMem.end() ? 0 : it->second;
        if (bus_->mem[a] != w && !reported[a]) {
            reported[a] = true;
            Append(out, "mem " + Hex4(a) + " want " + Hex2(w) + " got " + Hex2(bus_->mem[a]));
        }
    }

    if (bus_->portLog != t.expectedPorts)
        Append(out, "ports want " + PortList(t.expectedPorts) + " got " + PortList(bus_->portLog));
    return out;
}
