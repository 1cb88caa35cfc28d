// FUSE's tests.in / tests.expected: 1356 text-format cases, each run as whole steps until
// the T-state count reaches the case's target, then compared on registers (with MEMPTR
// and the halted flag), T-states, the bytes written and the port traffic. FUSE's test
// machine answers a port read with the high byte of the port address.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <vector>

#include "deviations.h"
#include "instruction_test.h"
#include "suites.h"

namespace {

struct Lines {
    std::vector<std::string> text;
    size_t next = 0;
    bool AtEnd() const { return next >= text.size(); }
};

bool ReadLines(const std::string& path, Lines& lines) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.text.push_back(line);
    }
    return true;
}

bool IsBlank(const std::string& s) { return s.find_first_not_of(" \t") == std::string::npos; }

std::vector<std::string> Tokens(const std::string& line) {
    std::istringstream in(line);
    std::vector<std::string> out;
    std::string t;
    while (in >> t) out.push_back(t);
    return out;
}

bool ParseNumber(const std::string& s, int base, unsigned long max, unsigned long& v) {
    if (s.empty() || s.size() > 10) return false;
    char* end = nullptr;
    v = std::strtoul(s.c_str(), &end, base);
    return *end == '\0' && v <= max;
}

// "AF BC DE HL AF' BC' DE' HL' IX IY SP PC MEMPTR" then "I R IFF1 IFF2 IM halted tstates".
bool ParseRegisterLines(const std::string& l1, const std::string& l2, Z80Regs& r, uint32_t& tstates) {
    auto w = Tokens(l1), b = Tokens(l2);
    if (w.size() != 13 || b.size() != 7) return false;
    uint16_t* words[13] = {&r.af, &r.bc, &r.de, &r.hl, &r.af2, &r.bc2, &r.de2,
                           &r.hl2, &r.ix, &r.iy, &r.sp, &r.pc, &r.wz};
    unsigned long v;
    for (int k = 0; k < 13; ++k) {
        if (!ParseNumber(w[k], 16, 0xFFFF, v)) return false;
        *words[k] = uint16_t(v);
    }
    uint8_t* bytes[6] = {&r.i, &r.r, &r.iff1, &r.iff2, &r.im, &r.halted};
    const int bases[6] = {16, 16, 10, 10, 10, 10};
    for (int k = 0; k < 6; ++k) {
        if (!ParseNumber(b[k], bases[k], 0xFF, v)) return false;
        *bytes[k] = uint8_t(v);
    }
    if (!ParseNumber(b[6], 10, 0xFFFFFFFF, v)) return false;
    tstates = uint32_t(v);
    return true;
}

// "ADDR b0 b1 ... -1"
bool ParseMemoryLine(const std::string& line, std::vector<MemByte>& mem) {
    auto t = Tokens(line);
    unsigned long addr, v;
    if (t.size() < 2 || t.back() != "-1" || !ParseNumber(t[0], 16, 0xFFFF, addr)) return false;
    for (size_t k = 1; k + 1 < t.size(); ++k) {
        if (!ParseNumber(t[k], 16, 0xFF, v)) return false;
        mem.push_back({uint16_t(addr++), uint8_t(v)});
    }
    return true;
}

void SkipBlank(Lines& l) {
    while (!l.AtEnd() && IsBlank(l.text[l.next])) ++l.next;
}

// One tests.in block. Returns false with `error` set on malformed input.
bool ParseInput(Lines& l, InstructionTest& t, std::string& error) {
    t.name = Tokens(l.text[l.next++]).at(0);
    if (l.next + 2 > l.text.size() ||
        !ParseRegisterLines(l.text[l.next], l.text[l.next + 1], t.initial, t.runUntil)) {
        error = "bad register lines";
        return false;
    }
    l.next += 2;
    while (!l.AtEnd() && Tokens(l.text[l.next]) != std::vector<std::string>{"-1"}) {
        if (!ParseMemoryLine(l.text[l.next++], t.initialMem)) {
            error = "bad memory line";
            return false;
        }
    }
    if (l.AtEnd()) {
        error = "missing -1 after memory";
        return false;
    }
    ++l.next;
    return true;
}

// One tests.expected block: events, the two register lines, changed memory.
bool ParseExpected(Lines& l, InstructionTest& t, std::string& error) {
    while (!l.AtEnd()) {
        auto tok = Tokens(l.text[l.next]);
        bool isEvent = tok.size() >= 3 && tok[1].size() == 2 && tok[0].find_first_not_of("0123456789") ==
                                                                        std::string::npos;
        if (!isEvent) break;
        ++l.next;
        unsigned long port, v;
        if (tok[1] == "PR" || tok[1] == "PW") {
            if (tok.size() != 4 || !ParseNumber(tok[2], 16, 0xFFFF, port) || !ParseNumber(tok[3], 16, 0xFF, v)) {
                error = "bad port event";
                return false;
            }
            t.expectedPorts.push_back({uint16_t(port), uint8_t(v), tok[1] == "PW"});
        }
    }
    if (l.next + 2 > l.text.size() ||
        !ParseRegisterLines(l.text[l.next], l.text[l.next + 1], t.expected, t.expectedTstates)) {
        error = "bad expected register lines";
        return false;
    }
    l.next += 2;
    while (!l.AtEnd() && !IsBlank(l.text[l.next])) {
        if (!ParseMemoryLine(l.text[l.next++], t.expectedMem)) {
            error = "bad expected memory line";
            return false;
        }
    }
    return true;
}

} // namespace

// Reads both files into complete cases; false (with the reason printed) on any error.
static bool LoadFuseTests(const std::string& folder, std::vector<InstructionTest>& tests) {
    Lines in, expected;
    if (!ReadLines(folder + "/tests.in", in) || !ReadLines(folder + "/tests.expected", expected)) {
        std::printf("fuse: cannot read %s/tests.in or tests.expected\n", folder.c_str());
        return false;
    }
    std::string error;
    for (SkipBlank(in); !in.AtEnd(); SkipBlank(in)) {
        InstructionTest t;
        size_t line = in.next + 1;
        if (!ParseInput(in, t, error)) {
            std::printf("fuse: tests.in line %zu: %s\n", line, error.c_str());
            return false;
        }
        tests.push_back(std::move(t));
    }
    std::map<std::string, InstructionTest*> byName;
    for (InstructionTest& t : tests) byName[t.name] = &t;
    size_t matched = 0;
    for (SkipBlank(expected); !expected.AtEnd(); SkipBlank(expected)) {
        size_t line = expected.next + 1;
        std::string name = Tokens(expected.text[expected.next++]).at(0);
        auto it = byName.find(name);
        if (it == byName.end()) {
            std::printf("fuse: tests.expected line %zu: no input for test %s\n", line, name.c_str());
            return false;
        }
        if (!ParseExpected(expected, *it->second, error)) {
            std::printf("fuse: tests.expected line %zu (%s): %s\n", line, name.c_str(), error.c_str());
            return false;
        }
        ++matched;
    }
    if (matched != tests.size()) {
        std::printf("fuse: %zu tests but %zu expected results\n", tests.size(), matched);
        return false;
    }
    return true;
}

SuiteResult RunFuseSuite(const std::string& dir, const SuiteOptions& options) {
    SuiteResult result;
    std::string folder = dir + "/fuse";
    if (!std::filesystem::is_directory(folder)) {
        std::printf("fuse: skipped: no folder %s\n", folder.c_str());
        result.skipped = true;
        return result;
    }
    std::vector<InstructionTest> tests;
    if (!LoadFuseTests(folder, tests)) {
        result.failed = 1;
        std::printf("fuse: %ld passed, %ld failed\n", result.passed, result.failed);
        return result;
    }
    InstructionRunner runner;
    for (InstructionTest& t : tests) {
        t.portReads = PortReads::HighByte;
        t.fields.halted = true;
        // FUSE has no q: every case starts as if the previous instruction left F alone.
        t.initial.q = 0;
        ApplyCoreDeviations(t);
        RunOutcome got = runner.Run(t);
        std::string diff = runner.Compare(t, got);
        if (diff.empty()) {
            ++result.passed;
        } else {
            ++result.failed;
            std::printf("FAIL fuse %s: %s\n", t.name.c_str(), diff.c_str());
        }
    }
    (void)options;
    std::printf("fuse: %ld passed, %ld failed\n", result.passed, result.failed);
    return result;
}
