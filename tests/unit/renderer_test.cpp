#include <algorithm>

#include "display/renderer.h"
#include "running_machine.h"

namespace {

class RendererTest : public RunningMachineTest {
  protected:
    void SetUp() override {
        RunningMachineTest::SetUp();
        std::fill(std::begin(renderer.frameImage), std::end(renderer.frameImage), kUntouched);
    }

    static constexpr uint32_t kUntouched = 0x123456;

    static uint32_t Pixel(int x, int y) { return renderer.frameImage[y * kFrameWidth + x]; }
    static void SetCell(int row, int column, uint8_t code) { machine.ram[0x2400 + row * 32 + column] = code; }
    static void SetGlyphRow(uint8_t glyph, int line, uint8_t bits) {
        machine.ram[0x2C00 + glyph * 8 + line] = bits;
    }
    static uint32_t TstateOf(int line, int h) { return uint32_t(line * kLineTstates + h); }
    static void RenderFrame() {
        ResetBeam();
        RenderToBeam(kBeamFrameTstates);
    }
    // The 8 pixels of a display cell's pixel row, as a bit pattern of ink pixels.
    static int InkBits(int row, int column, int line) {
        int bits = 0;
        for (int k = 0; k < 8; ++k)
            if (Pixel(64 + column * 8 + k, 56 + row * 8 + line) == renderer.inkColour) bits |= 0x80 >> k;
        return bits;
    }
};

TEST_F(RendererTest, BeamMapMarksDisplayBorderAndBlanking) {
    int counts[256] = {};
    for (uint8_t kind : beamMap)
        counts[kind]++;
    EXPECT_EQ(counts[kBeamDisplay], 192 * 128);
    EXPECT_EQ(counts[kBeamBlank], 312 * 15);
    EXPECT_EQ(counts[kBeamSideBorder], 192 * (32 + 32));
    EXPECT_EQ(counts[kBeamTopBottomBorder], (312 - 192) * 192);
    EXPECT_EQ(beamMap[TstateOf(56, 32)], kBeamDisplay);
    EXPECT_EQ(beamMap[TstateOf(56, 31)], kBeamSideBorder);
    EXPECT_EQ(beamMap[TstateOf(247, 159)], kBeamDisplay);
    EXPECT_EQ(beamMap[TstateOf(247, 160)], kBeamSideBorder);
    EXPECT_EQ(beamMap[TstateOf(248, 100)], kBeamTopBottomBorder);
    EXPECT_EQ(beamMap[TstateOf(10, 192)], kBeamBlank);
    EXPECT_EQ(machine.frameTstates, 64584u);
}

TEST_F(RendererTest, BlankScreenDrawsEveryPixelInPaper) {
    RenderFrame();
    EXPECT_TRUE(std::all_of(std::begin(renderer.frameImage), std::end(renderer.frameImage), [](uint32_t p) {
        return p == 0;
    })) << "a whole frame visits every cell of all 312 lines once";
}

TEST_F(RendererTest, DisplayColumnZeroStartsAtPixel64OfLine56) {
    SetGlyphRow(1, 0, 0xFF);
    SetCell(0, 0, 1);
    SetGlyphRow(2, 7, 0x81);
    SetCell(23, 31, 2);
    RenderFrame();
    EXPECT_EQ(Pixel(63, 56), renderer.paperColour);
    for (int x = 64; x < 72; ++x)
        EXPECT_EQ(Pixel(x, 56), 0xCACACAu) << x;
    EXPECT_EQ(Pixel(72, 56), renderer.paperColour);
    EXPECT_EQ(Pixel(64, 57), renderer.paperColour) << "glyph row 1 of character 1 is empty";
    EXPECT_EQ(Pixel(64, 55), renderer.paperColour) << "top border";
    EXPECT_EQ(InkBits(23, 31, 7), 0x81) << "last cell: pixels 312-319 of row 247";
    EXPECT_EQ(Pixel(312, 247), renderer.inkColour);
    EXPECT_EQ(Pixel(319, 247), renderer.inkColour);
    EXPECT_EQ(Pixel(320, 247), renderer.paperColour);
}

TEST_F(RendererTest, InverseVideoSwapsInkAndPaperOfTheSameGlyph) {
    for (int line = 0; line < 8; ++line)
        SetGlyphRow(0x41, line, uint8_t(0x11 << (line & 3)));
    SetCell(5, 10, 0x41);
    SetCell(5, 11, 0xC1); // bit 7 set: same glyph, inverted
    RenderFrame();
    for (int line = 0; line < 8; ++line) {
        const int glyph = 0x11 << (line & 3) & 0xFF;
        EXPECT_EQ(InkBits(5, 10, line), glyph) << line;
        EXPECT_EQ(InkBits(5, 11, line), ~glyph & 0xFF) << line;
    }
}

TEST_F(RendererTest, GlyphIndexIgnoresBitSeven) {
    SetGlyphRow(0x05, 3, 0xA5);
    SetCell(0, 0, 0x85);
    RenderFrame();
    EXPECT_EQ(InkBits(0, 0, 3), 0x5A) << "glyph 5, inverted";
}

TEST_F(RendererTest, MidFrameWritesShowOnlyBelowTheBeam) {
    SetGlyphRow(7, 0, 0xF0);
    // Line 150 is pixel row 94 of the display: character row 11, glyph line 6.
    RenderToBeam(TstateOf(150, 0));
    SetCell(2, 4, 7);  // above the beam
    SetCell(20, 4, 7); // below it
    RenderToBeam(kBeamFrameTstates);
    EXPECT_EQ(InkBits(2, 4, 0), 0) << "drawn before the write: old content until the next frame";
    EXPECT_EQ(InkBits(20, 4, 0), 0xF0);

    ResetBeam();
    RenderToBeam(kBeamFrameTstates);
    EXPECT_EQ(InkBits(2, 4, 0), 0xF0);
}

TEST_F(RendererTest, ChangeWithinTheCurrentLineShowsFromTheNextVisitedCell) {
    SetGlyphRow(9, 0, 0xFF);
    // Beam at cell column 10 of the first line of character row 3 (line 80).
    RenderToBeam(TstateOf(80, 32 + 4 * 10 + 1));
    for (int column = 0; column < 32; ++column)
        SetCell(3, column, 9);
    RenderToBeam(TstateOf(81, 0));
    EXPECT_EQ(InkBits(3, 9, 0), 0);
    EXPECT_EQ(InkBits(3, 11, 0), 0xFF);
    EXPECT_EQ(InkBits(3, 31, 0), 0xFF);
}

TEST_F(RendererTest, NothingIsDrawnPastTheFrameOrBackwards) {
    RenderToBeam(kBeamFrameTstates + 40); // the frame's last instruction ran past its end
    EXPECT_EQ(BeamPosition(), kBeamFrameTstates + 40);
    std::fill(std::begin(renderer.frameImage), std::end(renderer.frameImage), kUntouched);
    RenderToBeam(100); // went backwards: nothing drawn, but the new position is taken
    EXPECT_TRUE(std::all_of(std::begin(renderer.frameImage), std::end(renderer.frameImage),
                            [](uint32_t p) { return p == kUntouched; }));
    EXPECT_EQ(BeamPosition(), 100u);
    RenderToBeam(104); // and drawing resumes from it (the cell of T-state 100)
    EXPECT_EQ(Pixel(200, 0), renderer.paperColour);
    ResetBeam();
    RenderToBeam(2); // one visit: the cell at T-state 0
    EXPECT_EQ(Pixel(0, 0), renderer.paperColour);
    EXPECT_EQ(Pixel(8, 0), kUntouched);
    EXPECT_EQ(BeamPosition(), 2u);
}

TEST_F(RendererTest, ColourSchemesSetInkAndPaperAndBorder) {
    const uint32_t expected[5][2] = {
        {0xCACACA, 0x000000}, {0xFFFFFF, 0x000000}, {0x000000, 0xFFFFFF},
        {0x00B500, 0x000000}, {0xB68000, 0x000000},
    };
    SetGlyphRow(3, 0, 0x80);
    SetCell(0, 0, 3);
    for (int i = 0; i < kColourSchemeCount; ++i) {
        ApplyColourScheme(i);
        EXPECT_EQ(renderer.inkColour, expected[i][0]);
        EXPECT_EQ(renderer.paperColour, expected[i][1]);
        RenderFrame();
        EXPECT_EQ(Pixel(0, 0), expected[i][1]) << ColourSchemeAt(i).name << " border";
        EXPECT_EQ(Pixel(64, 56), expected[i][0]) << ColourSchemeAt(i).name << " ink";
        EXPECT_EQ(Pixel(65, 56), expected[i][1]);
    }
    EXPECT_STREQ(ColourSchemeAt(2).name, "White & Black");
    ApplyColourScheme(5);
    ApplyColourScheme(-1);
    EXPECT_EQ(renderer.inkColour, expected[4][0]) << "an unknown index leaves the colours";
}

TEST_F(RendererTest, PaperChangedDirectlyIsPickedUp) {
    renderer.paperColour = 0x303030; // as a back-end may do to a black paper
    RenderFrame();
    EXPECT_EQ(Pixel(0, 0), 0x303030u);
    EXPECT_EQ(Pixel(100, 100), 0x303030u);
}

} // namespace
