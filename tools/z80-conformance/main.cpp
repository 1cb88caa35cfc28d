// z80-conformance DIR [--all] [SUITE...]
//
// Runs third-party Z80 test suites against the emulator's core on a flat 64 KB bus with
// no hooks. DIR is the z80 test-data folder; SUITE is fuse, singlestep, prelim, zexdoc or
// zexall (default: all five, in that order). --all prints every failing case in full.
// Exit status: 0 all passed, 1 something failed, 77 nothing could run (data missing),
// 2 bad usage.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "machine/z80_tables.h"
#include "suites.h"

namespace {

constexpr int kExitSkipped = 77; // CTest's SKIP_RETURN_CODE for these tests
const std::vector<std::string> kSuites = {"fuse", "singlestep", "prelim", "zexdoc", "zexall"};

int Usage() {
    std::fprintf(stderr, "usage: z80-conformance DIR [--all] [fuse|singlestep|prelim|zexdoc|zexall...]\n");
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) return Usage();
    std::string dir = argv[1];
    SuiteOptions options;
    std::vector<std::string> chosen;
    for (int k = 2; k < argc; ++k) {
        std::string a = argv[k];
        if (a == "--all") options.listAll = true;
        else if (std::find(kSuites.begin(), kSuites.end(), a) != kSuites.end()) chosen.push_back(a);
        else return Usage();
    }
    if (chosen.empty()) chosen = kSuites;
    std::setvbuf(stdout, nullptr, _IOLBF, 0);

    if (!std::filesystem::is_directory(dir)) {
        std::printf("z80-conformance: skipped: test data folder %s not found "
                    "(set NOLTACE_TESTDATA to the folder holding z80/)\n",
                    dir.c_str());
        return kExitSkipped;
    }

    BuildFlagTables();
    bool anyRan = false, anyFailed = false;
    for (const std::string& suite : chosen) {
        SuiteResult r;
        if (suite == "fuse") r = RunFuseSuite(dir, options);
        else if (suite == "singlestep") r = RunSingleStepSuite(dir, options);
        else r = RunZexSuite(dir, suite, options);
        anyRan |= !r.skipped;
        anyFailed |= r.failed > 0;
    }
    if (anyFailed) return 1;
    return anyRan ? 0 : kExitSkipped;
}
