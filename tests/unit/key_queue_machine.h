// A machine typed into through the key queue, as the application's loop does it: each
// frame, then the queue.
#pragma once

#include <string>

#include "app/key_queue.h"
#include "app/keyboard.h"
#include "app/virtual_keys.h"
#include "running_machine.h"

class KeyQueueMachineTest : public RunningMachineTest {
  protected:
    void SetUp() override {
        RunningMachineTest::SetUp();
        ResetKeyboard();
    }
    void TearDown() override {
        ResetKeyboard();
        RunningMachineTest::TearDown();
    }
    static void Frames(int n) {
        for (int i = 0; i < n; ++i) {
            RunFrame();
            KeyQueueFrameEnded();
        }
    }
    // The whole text queued at once, each key pressed and released within the same
    // moment, as an auto-typer does: by character, '\n' as the Return key.
    static void TypeAtOnce(const std::string& text) {
        for (char c : text) {
            AceKeyStroke stroke = AceKeyStroke::Key(vk::kReturn);
            KeyChord keys;
            if (c != '\n') {
                EXPECT_TRUE(SpoolCharacterKeys(uint8_t(c), keys)) << c;
                stroke = AceKeyStroke::Character(keys);
            }
            QueueKeyPress(stroke);
            QueueKeyRelease(stroke);
        }
    }
    // Frames until the queue is empty, and some more for the ROM to act on the last key.
    static void TypeOut() {
        for (int i = 0; i < 4000 && QueuedKeyEvents() > 0; ++i)
            Frames(1);
        Frames(30);
    }
};
