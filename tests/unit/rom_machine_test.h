// A running machine on the real ROM for tests that load and type: the tape deck and file
// state cleared around each test, dialogs answered by a CapturingHost, and Boot(model)
// that returns once the ROM waits for its first key.
#pragma once

#include "machine/reset.h"
#include "running_machine.h"
#include "tape_test_support.h"

class RomMachineTest : public RunningMachineTest {
  protected:
    void SetUp() override {
        RunningMachineTest::SetUp();
        SetHost(&dialogs);
        ResetTapeAndFileState();
    }
    void TearDown() override {
        ResetTapeAndFileState();
        RunningMachineTest::TearDown();
    }
    // The larger models take longer over their memory test; false (after a skip) without
    // the ROM, or when the prompt never comes.
    bool Boot(uint32_t model = 0) {
        machine.model = model;
        machine.topPage = ModelTable(model).topPage;
        machine.ramTop = ModelTable(model).ramTop;
        if (!BootTestRom()) return false;
        for (int i = 0; i < 1000 && !WaitingForKey(); ++i)
            RunFrame();
        return WaitingForKey();
    }
    static void RunFrames(int n) {
        for (int i = 0; i < n; ++i)
            RunFrame();
    }
    // The 24 screen lines, each ended by a newline.
    static std::string Screen() {
        std::string s;
        for (int row = 0; row < 24; ++row)
            s += ScreenLine(row) + "\n";
        return s;
    }
    // The ROM's key wait: BIT 5,(STATIN) / JR Z back.
    static bool WaitingForKey() { return machine.pc >= 0x059B && machine.pc <= 0x059D; }

    CapturingHost dialogs;
};
