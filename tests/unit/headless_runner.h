// Runs the noltace-headless executable (named by NOLTACE_HEADLESS, which ctest sets) and
// captures what it prints.
#pragma once

#include <string>
#include <vector>

#include <gtest/gtest.h>

struct HeadlessResult {
    int status = -1; // exit status, or -1 when it did not exit normally
    std::string out, err;
    int ErrLines() const;
};

// The executable's path, or "" when NOLTACE_HEADLESS is not set.
std::string HeadlessPath();

#define REQUIRE_HEADLESS()                                                                                   \
    do {                                                                                                     \
        if (HeadlessPath().empty()) GTEST_SKIP() << "NOLTACE_HEADLESS does not name noltace-headless";       \
    } while (0)

// Runs it with `args`; `envPrefix` goes before it on the shell line (e.g. "env -u X").
HeadlessResult RunHeadless(const std::vector<std::string>& args, const std::string& envPrefix = "");

// Tests of noltace-headless on the real ROM: skipped, saying why, without the program or
// the ROM. Run puts "--rom" first; `dir` is a scratch folder of the test's own.
class HeadlessRomFixture : public ::testing::Test {
  protected:
    void SetUp() override;
    static HeadlessResult Run(std::vector<std::string> args);
    std::string dir;
};
