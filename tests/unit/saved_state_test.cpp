// Machine states through the real ROM: a FORTH loop printing, beeping and playing the
// AY is captured in the middle of a frame, run on, put back, and run again: every frame
// after it (picture, memory, registers, chip) is the one the first run made.
#include <gtest/gtest.h>

#include <memory>

#include "base/byte_packing.h"
#include "machine/ports.h"
#include "machine/saved_state.h"
#include "machine/z80.h"
#include "rom_machine_test.h"
#include "sound/ay.h"
#include "sound/wav_writer_device.h"

namespace {

struct FrameRecord {
    uint32_t image, ram, tstates;
    uint16_t pc, sp, af, bc, de, hl, ix, iy, memptr;
    uint8_t ayRegs[16];
    uint16_t ayTone;
    bool operator==(const FrameRecord&) const = default;
};

// The chip is clocked lazily (with the chunks of the sound stream): it is compared as it sounds.
FrameRecord Record() {
    CatchUpBeam();
    SyncAy();
    const MachineState& m = machine;
    FrameRecord r{ByteChecksum(reinterpret_cast<const uint8_t*>(renderer.frameImage), sizeof renderer.frameImage),
                  ByteChecksum(ramBlock, sizeof ramBlock),
                  m.tstates,
                  m.pc, m.sp, m.af.w, m.bc.w, m.de.w, m.hl.w, m.ix.w, m.iy.w, m.memptr, {}, ay.toneCount[0]};
    std::copy_n(ay.regs, 16, r.ayRegs);
    return r;
}

class SavedStateTest : public RomMachineTest {
  protected:
    void TearDown() override {
        ShutdownSound();
        SetAudioDevice(nullptr);
        RomMachineTest::TearDown();
    }
    void Type(const std::string& text) {
        StartSpool(text);
        const long bound = SpoolFrameBound();
        for (long i = 0; i < bound && spool.spoolActive; ++i)
            RunFrame();
        RunFrames(10); // the last key is taken
    }
    std::unique_ptr<WavWriterDevice> wav;
};

TEST_F(SavedStateTest, RestoredStateRunsOnIntoTheSameFrames) {
    REQUIRE_TEST_ROM();
    ASSERT_TRUE(Boot());
    machine.soundInterface = kSoundBoldfield;
    Type(": T 7 253 OUT 62 255 OUT 8 253 OUT 15 255 OUT 3000 0 DO I . 0 253 OUT I 255 OUT 30 1 BEEP LOOP ;\r");
    // Sound on, so that the speaker and AY clocks run with the machine.
    wav = std::make_unique<WavWriterDevice>(ScratchFolder() + "state.wav");
    SetAudioDevice(wav.get());
    ASSERT_EQ(InitSound(), 0);
    runState.FastMode = false;
    Type("T\r");
    RunFrames(20);
    for (int i = 0; i < 5000; ++i)
        ExecuteInstruction(); // mid-frame: the beam, the sound clocks and the step are all part way
    ASSERT_GT(machine.tstates, 0u);

    const std::vector<uint8_t> saved = EncodeStateFile(CaptureMachineState());
    EXPECT_LT(saved.size(), 40000u) << "a state packs small";
    std::vector<FrameRecord> first;
    for (int i = 0; i < 100; ++i) {
        RunFrame();
        first.push_back(Record());
    }
    EXPECT_NE(first.front().ram, first.back().ram) << "the loop must be changing the machine";
    EXPECT_NE(first.front().ayRegs[0], first.back().ayRegs[0]) << "the loop must be playing the AY";

    std::vector<uint8_t> raw;
    std::string error;
    ASSERT_TRUE(DecodeStateFile(saved.data(), saved.size(), raw, error)) << error;
    ASSERT_TRUE(RestoreMachineState(raw, error)) << error;
    for (int i = 0; i < 100; ++i) {
        RunFrame();
        ASSERT_EQ(Record(), first[size_t(i)]) << "frame " << i << " after the restore";
    }
}

TEST_F(SavedStateTest, ABadStateFileChangesNothing) {
    REQUIRE_TEST_ROM();
    ASSERT_TRUE(Boot());
    Type("1 2 3\r");
    std::vector<uint8_t> file = EncodeStateFile(CaptureMachineState());
    RunFrames(3);
    const std::vector<uint8_t> before = CaptureMachineState();
    std::vector<uint8_t> raw;
    std::string error;
    ASSERT_TRUE(DecodeStateFile(file.data(), file.size(), raw, error));
    std::vector<uint8_t> badSection = raw;
    badSection[8 + offsetof(MachineState, im)] = 7; // no interrupt mode 7
    std::vector<uint8_t> missingSection(raw.begin(), raw.end() - 9); // the last section gone
    for (const std::vector<uint8_t>* bad : {&badSection, &missingSection}) {
        EXPECT_FALSE(RestoreMachineState(*bad, error));
        EXPECT_FALSE(error.empty());
        EXPECT_EQ(CaptureMachineState(), before);
    }
    file.resize(file.size() - 1);
    EXPECT_FALSE(DecodeStateFile(file.data(), file.size(), raw, error));
    EXPECT_EQ(error, "the state file is damaged or cut short");
}

TEST(BytePacking, UnpacksWhatItPackedAndRefusesDamage) {
    std::vector<uint8_t> data(70000);
    for (size_t i = 0; i < data.size(); ++i)
        data[i] = i < 30000 ? 0 : i < 50000 ? uint8_t(i % 4 == 3 ? 0 : 0xCA) : uint8_t(i * 7919 >> 5);
    std::vector<uint8_t> packed, back;
    PackBytes(data.data(), data.size(), packed);
    EXPECT_LT(packed.size(), 25000u);
    ASSERT_TRUE(UnpackBytes(packed.data(), packed.size(), data.size(), back));
    EXPECT_EQ(back, data);
    EXPECT_FALSE(UnpackBytes(packed.data(), packed.size() - 1, data.size(), back));
    EXPECT_FALSE(UnpackBytes(packed.data(), packed.size(), data.size() - 1, back));
    const uint8_t copyBeforeAnything[] = {0x80};
    EXPECT_FALSE(UnpackBytes(copyBeforeAnything, 1, 4, back));
}

} // namespace
