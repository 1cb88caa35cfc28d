// A machine ready to run frames: MachineTest's clean emulator with Fast mode on, so no
// test waits for the host clock.
#pragma once

#include <cstring>

#include "display/renderer.h"
#include "display/screen_text.h"
#include "machine/frame.h"
#include "machine/machine_state.h"
#include "machine/run_state.h"
#include "sound/sound_output.h"
#include "tape/spool.h"
#include "test_support.h"

class RunningMachineTest : public MachineTest {
  protected:
    void SetUp() override {
        MachineTest::SetUp();
        runState.FastMode = true;
    }
    void TearDown() override {
        soundOutputActive = false;
        MachineTest::TearDown();
    }

    static bool KeyDown(int row, int bit) { return !(machine.keyMatrix[row] & (1 << bit)); }
    static bool NoKeyDown() {
        for (uint8_t r : machine.keyMatrix)
            if (r != 0xFF) return false;
        return true;
    }
};
