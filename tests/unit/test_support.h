// Shared helpers for the unit tests: where the test ROM and data are, a host that
// records what the core shows, and a fresh machine for each test.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/host.h"

// The verified ace.rom named by NOLTACE_TEST_ROM, or "" when it is not available.
std::string TestRomPath();
// The third-party test data folder named by NOLTACE_TESTDATA, or "".
std::string TestDataPath();
// A scratch folder for this test, created empty.
std::string ScratchFolder();
// The whole file, or "" when it cannot be read.
std::string ReadFileText(const std::string& path);

// NOLTACE_REQUIRE_DATA=1 (set in CI, where the data is always there) turns these skips
// into failures, so that a missing install step cannot pass as a skip.
bool TestDataRequired();
#define SKIP_OR_FAIL_FOR_DATA(why)                                                                           \
    do {                                                                                                     \
        if (TestDataRequired()) GTEST_FAIL() << why;                                                         \
        GTEST_SKIP() << why;                                                                                 \
    } while (0)

#define REQUIRE_TEST_ROM()                                                                                   \
    do {                                                                                                     \
        if (TestRomPath().empty())                                                                           \
            SKIP_OR_FAIL_FOR_DATA("NOLTACE_TEST_ROM does not name a readable ace.rom");                      \
    } while (0)

#define REQUIRE_TEST_DATA()                                                                                  \
    do {                                                                                                     \
        if (TestDataPath().empty())                                                                          \
            SKIP_OR_FAIL_FOR_DATA("NOLTACE_TESTDATA does not name the test data folder");                    \
    } while (0)

// Records messages instead of showing them; answers file dialogs from a queue.
class RecordingHost : public Host {
  public:
    std::vector<std::string> messages; // "caption|text"
    std::vector<std::string> openAnswers, saveAnswers;
    int presented = 0;
    std::vector<int> pcLogStops; // the menu items Host::PcLogStopped named

    void ShowMessage(const std::string& caption, const std::string& text) override {
        messages.push_back(caption + "|" + text);
    }
    bool AskYesNo(const std::string&, const std::string&) override { return true; }
    void PresentFrame() override { ++presented; }
    void PcLogStopped(int menuItem) override { pcLogStops.push_back(menuItem); }
    std::string ChooseOpenFile(const FileDialogRequest&) override { return Pop(openAnswers); }
    std::string ChooseSaveFile(const FileDialogRequest&) override { return Pop(saveAnswers); }

  private:
    static std::string Pop(std::vector<std::string>& answers) {
        if (answers.empty()) return {};
        std::string a = answers.front();
        answers.erase(answers.begin());
        return a;
    }
};

// Installs a RecordingHost for the test's lifetime and starts from a clean emulator
// (ResetEmulator): 3K model, no ROM loaded yet.
class MachineTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;
    // Loads the test ROM into a fully reset machine; false (after a skip) without it.
    bool BootTestRom();

    RecordingHost recorder;
};
