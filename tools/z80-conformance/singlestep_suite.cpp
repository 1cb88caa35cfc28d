// SingleStepTests/z80: one gzipped JSON file per opcode, each an array of cases that run
// exactly one instruction (a prefix and the opcode it modifies count as one). Compared on
// registers (with WZ, q and ei), T-states (the length of "cycles"), RAM and port traffic.
//
// Mappings between the suite's conventions and the core's:
// - HALT: the suite's pc is past the HALT; the core keeps pc on it while `halted`.
// - q: the suite records the new F when the instruction wrote flags and 0 otherwise; the
//   core keeps a 0/1 latch. A final F of 0 leaves the suite's q ambiguous, so q is then
//   not compared. A starting q other than 0 loads the latch with 1.
// - p (last instruction was LD A,I / LD A,R) is not kept by the core and not compared.
// - Port reads return the suite's "ports" values in order.
#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <stdexcept>
#include <nlohmann/json.hpp>

#include "deviations.h"
#include "instruction_test.h"
#include "suites.h"

namespace fs = std::filesystem;
using nlohmann::json;

namespace {

constexpr int kDetailsPerFile = 3;    // failures described in full per file unless --all
constexpr size_t kNamesListed = 40;   // further failing case numbers named per file

bool ReadGzip(const fs::path& path, std::string& out) {
    gzFile f = gzopen(path.c_str(), "rb");
    if (!f) return false;
    char buffer[1 << 16];
    int n;
    while ((n = gzread(f, buffer, sizeof buffer)) > 0) out.append(buffer, size_t(n));
    int error = 0;
    gzerror(f, &error);
    gzclose(f);
    return n == 0 && error == Z_OK;
}

// A number that must fit in `max`; anything else makes the case malformed.
unsigned Bounded(const json& v, unsigned max) {
    unsigned n = v.get<unsigned>();
    if (!v.is_number_unsigned() || n > max) throw std::out_of_range("value out of range: " + v.dump());
    return n;
}

// The state half of a case; "ram" is read separately.
Z80Regs ParseState(const json& s) {
    auto b = [&](const char* k) { return Bounded(s.at(k), 0xFF); };
    auto w = [&](const char* k) { return uint16_t(Bounded(s.at(k), 0xFFFF)); };
    Z80Regs r;
    r.af = uint16_t(b("a") << 8 | b("f"));
    r.bc = uint16_t(b("b") << 8 | b("c"));
    r.de = uint16_t(b("d") << 8 | b("e"));
    r.hl = uint16_t(b("h") << 8 | b("l"));
    r.af2 = w("af_");
    r.bc2 = w("bc_");
    r.de2 = w("de_");
    r.hl2 = w("hl_");
    r.ix = w("ix");
    r.iy = w("iy");
    r.sp = w("sp");
    r.pc = w("pc");
    r.wz = w("wz");
    r.i = uint8_t(b("i"));
    r.r = uint8_t(b("r"));
    r.iff1 = uint8_t(b("iff1"));
    r.iff2 = uint8_t(b("iff2"));
    r.im = uint8_t(b("im"));
    r.ei = uint8_t(b("ei"));
    r.q = b("q") != 0 ? 1 : 0; // the suite's q is a copy of F; the core's a 0/1 latch
    return r;
}

std::vector<MemByte> ParseRam(const json& ram) {
    std::vector<MemByte> out;
    for (const json& pair : ram) out.push_back({uint16_t(Bounded(pair.at(0), 0xFFFF)), uint8_t(Bounded(pair.at(1), 0xFF))});
    return out;
}

InstructionTest ParseCase(const json& c) {
    InstructionTest t;
    t.name = c.at("name").get<std::string>();
    const json& initial = c.at("initial");
    const json& final = c.at("final");
    t.initial = ParseState(initial);
    t.expected = ParseState(final);
    t.initialMem = ParseRam(initial.at("ram"));
    t.expectedMem = ParseRam(final.at("ram"));
    t.expectedTstates = uint32_t(c.at("cycles").size());
    t.portReads = PortReads::Scripted;
    if (c.contains("ports")) {
        for (const json& p : c.at("ports")) {
            PortAccess a{uint16_t(Bounded(p.at(0), 0xFFFF)), uint8_t(Bounded(p.at(1), 0xFF)),
                         p.at(2).get<std::string>() == "w"};
            if (!a.write) t.portScript.push_back(a.value);
            t.expectedPorts.push_back(a);
        }
    }
    t.fields.ei = true;
    // A final F of 0 is what the suite writes both for "no flags written" and for flags
    // written as 0: the latch cannot be checked then.
    t.fields.q = final.at("f").get<unsigned>() != 0 || final.at("q").get<unsigned>() != 0;
    return t;
}

struct FileTally {
    long passed = 0, failed = 0;
};

FileTally RunFile(const fs::path& path, InstructionRunner& runner, const SuiteOptions& options) {
    FileTally tally;
    std::string label = path.filename().string();
    label = label.substr(0, label.find(".json"));
    std::string text;
    if (!ReadGzip(path, text)) {
        std::printf("FAIL singlestep %s: cannot read the gzip file\n", label.c_str());
        tally.failed = 1;
        return tally;
    }
    json cases = json::parse(text, nullptr, false);
    if (cases.is_discarded() || !cases.is_array()) {
        std::printf("FAIL singlestep %s: not a JSON array of tests\n", label.c_str());
        tally.failed = 1;
        return tally;
    }
    std::vector<std::string> moreFailures;
    for (const json& c : cases) {
        InstructionTest t;
        try {
            t = ParseCase(c);
        } catch (const std::exception& e) {
            std::printf("FAIL singlestep %s: malformed test: %s\n", label.c_str(), e.what());
            ++tally.failed;
            continue;
        }
        ApplyCoreDeviations(t);
        RunOutcome got = runner.Run(t);
        if (got.regs.halted) got.regs.pc = uint16_t(got.regs.pc + 1); // the suite's pc is past the HALT
        std::string diff = runner.Compare(t, got);
        if (diff.empty()) {
            ++tally.passed;
        } else if (++tally.failed <= kDetailsPerFile || options.listAll) {
            std::printf("FAIL singlestep %s: %s\n", t.name.c_str(), diff.c_str());
        } else {
            moreFailures.push_back(t.name.substr(t.name.rfind(' ') + 1));
        }
    }
    if (!moreFailures.empty()) {
        long total = tally.passed + tally.failed;
        if (tally.passed == 0) {
            std::printf("FAIL singlestep %s: all %ld cases failed\n", label.c_str(), total);
        } else {
            std::string names;
            size_t listed = std::min(moreFailures.size(), kNamesListed);
            for (size_t k = 0; k < listed; ++k) names += " " + moreFailures[k];
            if (listed < moreFailures.size())
                names += " (+" + std::to_string(moreFailures.size() - listed) + " more; --all shows them)";
            std::printf("FAIL singlestep %s: %ld of %ld failed; also failing:%s\n", label.c_str(), tally.failed,
                        total, names.c_str());
        }
    }
    return tally;
}

} // namespace

SuiteResult RunSingleStepSuite(const std::string& dir, const SuiteOptions& options) {
    SuiteResult result;
    fs::path folder = fs::path(dir) / "singlestep_z80" / "v1";
    std::error_code ec;
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(folder, ec))
        if (entry.path().string().ends_with(".json.gz")) files.push_back(entry.path());
    if (ec || files.empty()) {
        std::printf("singlestep: skipped: no .json.gz files in %s\n", folder.c_str());
        result.skipped = true;
        return result;
    }
    std::sort(files.begin(), files.end());
    InstructionRunner runner;
    for (const fs::path& f : files) {
        FileTally tally = RunFile(f, runner, options);
        result.passed += tally.passed;
        result.failed += tally.failed;
    }
    std::printf("singlestep: ran %zu opcode files\n", files.size());
    std::printf("singlestep: %ld passed, %ld failed\n", result.passed, result.failed);
    return result;
}
