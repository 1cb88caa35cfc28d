// The lazy beam against the plain one: the real ROM printing numbers for ever (writes to
// video RAM all through every frame, scrolling included) and redefining glyphs, run one
// instruction at a time while a straightforward renderer draws a reference image after
// every instruction. Whenever the image is looked at, at frame ends and in mid-frame, it
// must equal the reference pixel for pixel.
#include <algorithm>
#include <vector>

#include "debugger/breakpoints.h"
#include "debugger/pc_log.h"
#include "machine/hook_switches.h"
#include "machine/z80.h"
#include "running_machine.h"
#include "tape/tape_deck.h"
#include "tape/wav_deck.h"

namespace {

// Drawing after every instruction, as the beam does: every 4th T-state from the last
// position, reading the RAM as it is now.
class ReferenceBeam {
  public:
    std::vector<uint32_t> image{renderer.frameImage, renderer.frameImage + kFrameWidth* kFrameHeight};

    void RenderTo(uint32_t now) {
        if (now <= last_) {
            last_ = now;
            return;
        }
        const uint8_t* page = machine.pages[1];
        for (uint32_t p = last_; p < now && p < kBeamFrameTstates; p += 4) {
            const uint32_t y = p / kLineTstates, h = p % kLineTstates;
            uint32_t* out = image.data() + y * kFrameWidth + (h / 4) * 8;
            if (beamMap[p] == kBeamBlank) continue;
            uint8_t g = 0;
            if (beamMap[p] == kBeamDisplay) {
                const uint8_t c = page[0x400 + (y - 56) / 8 * 32 + h / 4 - 8];
                g = page[0xC00 + (c & 0x7F) * 8 + (y & 7)];
                if (c & 0x80) g = uint8_t(~g);
            }
            for (int k = 0; k < 8; ++k)
                out[k] = (g & (0x80 >> k)) ? renderer.inkColour : renderer.paperColour;
        }
        last_ = now;
    }
    void NewFrame() { last_ = 0; }

  private:
    uint32_t last_ = 0;
};

class LazyBeamTest : public RunningMachineTest {
  protected:
    // Runs `frames` frames as the frame driver does, keeping the reference in step, and
    // compares after each frame and, in the frames listed, at one instruction mid-frame.
    void RunAndCompare(int frames, std::vector<int> midFrameLooks) {
        for (int frame = 0; frame < frames; ++frame) {
            const bool lookMidFrame = std::count(midFrameLooks.begin(), midFrameLooks.end(), frame) > 0;
            bool looked = false;
            while (machine.tstates < machine.frameTstates) {
                ExecuteInstruction();
                reference.RenderTo(machine.tstates);
                if (lookMidFrame && !looked && machine.tstates > 30000) {
                    looked = true;
                    CatchUpBeam();
                    ExpectSameImage(frame, "mid-frame");
                }
            }
            machine.intLine = 1;
            machine.tstates -= machine.frameTstates;
            if (frame % 3 != 1) { // some frames are never looked at
                CatchUpBeam();
                ExpectSameImage(frame, "frame end");
            }
            ResetBeam();
            reference.NewFrame();
        }
    }
    void ExpectSameImage(int frame, const char* when) {
        // A picture that differs from the one looked at before must come with a new
        // serial, or a presenter would keep showing the old one.
        if (!std::equal(lookedAt.begin(), lookedAt.end(), renderer.frameImage))
            EXPECT_NE(FrameImageSerial(), lookedAtSerial) << "frame " << frame << ", " << when;
        lookedAt.assign(renderer.frameImage, renderer.frameImage + kFrameWidth * kFrameHeight);
        lookedAtSerial = FrameImageSerial();
        const auto mismatch =
            std::mismatch(reference.image.begin(), reference.image.end(), renderer.frameImage);
        if (mismatch.first == reference.image.end()) return;
        const long at = long(mismatch.first - reference.image.begin());
        ADD_FAILURE() << "frame " << frame << ", " << when << ": pixel (" << at % kFrameWidth << ", "
                      << at / kFrameWidth << ") differs";
    }
    void TypeAndBoot(const char* text) {
        for (int i = 0; i < 100; ++i)
            RunFrame();
        StartSpool(std::string(text));
        while (spool.spoolActive)
            RunFrame();
        CatchUpBeam();
        reference.image.assign(renderer.frameImage, renderer.frameImage + kFrameWidth * kFrameHeight);
        lookedAt = reference.image;
        lookedAtSerial = FrameImageSerial();
    }
    ReferenceBeam reference;
    std::vector<uint32_t> lookedAt;
    uint32_t lookedAtSerial = 0;
};

TEST_F(LazyBeamTest, ScrollingTextDrawsExactlyAsTheBeamWould) {
    REQUIRE_TEST_ROM();
    ASSERT_TRUE(BootTestRom());
    TypeAndBoot(": T 0 BEGIN 1+ DUP . 0 UNTIL ; T\r");
    RunAndCompare(40, {2, 5, 11, 20, 33});
}

TEST_F(LazyBeamTest, RedefinedGlyphsAndInverseVideoDrawExactlyAsTheBeamWould) {
    REQUIRE_TEST_ROM();
    ASSERT_TRUE(BootTestRom());
    TypeAndBoot("1 2 3 . . . : G 1024 0 DO I 7 * I 11264 + C! 9216 I 767 AND + DUP C@ 128 XOR SWAP C! LOOP ; "
                "G G G G\r");
    RunAndCompare(30, {0, 3, 7, 12});
}

// At the FORTH prompt nothing is drawn: the serial stands still frame after frame, so the
// display hands nothing over. A character typed, a colour changed or a picture written
// from outside moves it.
TEST_F(LazyBeamTest, SerialStandsStillWhileThePictureDoes) {
    REQUIRE_TEST_ROM();
    ASSERT_TRUE(BootTestRom());
    for (int i = 0; i < 100; ++i)
        RunFrame();
    CatchUpBeam();
    const uint32_t idle = FrameImageSerial();
    for (int i = 0; i < 50; ++i) {
        RunFrame();
        CatchUpBeam();
    }
    EXPECT_EQ(FrameImageSerial(), idle) << "frames at the prompt drew something";

    StartSpool("1");
    while (spool.spoolActive)
        RunFrame();
    for (int i = 0; i < 5; ++i)
        RunFrame();
    CatchUpBeam();
    const uint32_t typed = FrameImageSerial();
    EXPECT_NE(typed, idle) << "a typed character";

    ApplyColourScheme(2);
    RunFrame();
    CatchUpBeam();
    EXPECT_NE(FrameImageSerial(), typed) << "new colours";

    const uint32_t before = FrameImageSerial();
    FrameImageWritten();
    EXPECT_NE(FrameImageSerial(), before);
}

// Every hook switch is its subsystem's flag, and any one of them on opens the rare path.
TEST(RareHookSwitchesTest, EachFlagArmsTheRarePathAlone) {
    bool* const flags[] = {&NmiRequested, &tzxInserted, &tzxPlaying,   &wavLoaded, &recordArmed,
                           &wavPlaying,   &recording,   &debugHooksOn, &pcLogOn,   &pcLogOneFrame};
    rareHookSwitches = {};
    EXPECT_FALSE(AnyRareHookOn());
    for (bool* flag : flags) {
        *flag = true;
        EXPECT_TRUE(AnyRareHookOn()) << flag - &rareHookSwitches.nmiRequested;
        *flag = false;
        EXPECT_FALSE(AnyRareHookOn());
    }
    for (bool& spare : rareHookSwitches.spare) {
        spare = true;
        EXPECT_TRUE(AnyRareHookOn());
        spare = false;
    }
}

} // namespace
