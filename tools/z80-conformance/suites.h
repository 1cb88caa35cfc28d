// The five suites the runner knows. Each prints its failures as it finds them and
// closes with one line "suite-name: N passed, M failed".
#pragma once

#include <string>

struct SuiteOptions {
    bool listAll = false; // print every failing case in full, not a few per opcode file
};

struct SuiteResult {
    bool skipped = false; // its files are missing; the reason is already printed
    long passed = 0;
    long failed = 0;
};

// dir is the z80 test-data folder (fuse/, singlestep_z80/, zex/ below it).
SuiteResult RunFuseSuite(const std::string& dir, const SuiteOptions& options);
SuiteResult RunSingleStepSuite(const std::string& dir, const SuiteOptions& options);
// name is "prelim", "zexdoc" or "zexall".
SuiteResult RunZexSuite(const std::string& dir, const std::string& name, const SuiteOptions& options);
