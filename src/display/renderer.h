// Turns video RAM (0x2400) and character RAM (0x2C00) into the 384 x 312 frame image,
// following the emulated beam: after every instruction the renderer catches up to the
// current T-state, so mid-frame changes show only on the part drawn after them.
//
// Usage: BuildBeamMap() and ApplyColourScheme() once at start-up (the beam map is also
// ready before main runs); the instruction step calls RenderToBeam(tstates) after every
// instruction; the frame driver calls ResetBeam() at each frame end and PresentFrame()
// every frameSkipPeriod frames. The image is never cleared: a cell the beam skips keeps
// what the previous frame drew there.
//
// Raster: 312 lines of 207 T-states. The 256 x 192 display sits on lines 56-247 at
// T-states 32-159 of each line (4 T-states, 8 pixels, per character cell); T-states
// 192-206 are blanking; the rest is border in the paper colour.
#pragma once

#include <cstdint>

constexpr int kFrameWidth = 384;
constexpr int kFrameHeight = 312;
constexpr int kLineTstates = 207;
constexpr int kFrameLines = 312;
constexpr uint32_t kBeamFrameTstates = uint32_t(kLineTstates * kFrameLines); // 64584
constexpr int kFirstDisplayLine = 56;
constexpr int kLastDisplayLine = 247;
constexpr int kDisplayStartTstate = 32; // within a line
constexpr int kDisplayEndTstate = 159;
constexpr int kBlankingTstate = 192;

// What the beam does at each T-state of the frame.
enum BeamKind : uint8_t { kBeamDisplay = 0, kBeamSideBorder = 1, kBeamTopBottomBorder = 2, kBeamBlank = 255 };
extern uint8_t beamMap[kBeamFrameTstates];

// 0x00RRGGBB pixels, kFrameWidth per row.
extern uint32_t frameImage[kFrameWidth * kFrameHeight];
// Ink and paper (paper is also the border). ApplyColourScheme sets them; a back-end may
// change paperColour directly, and the renderer picks the change up at its next call.
extern uint32_t inkColour, paperColour;

struct ColourScheme {
    const char* name;
    uint32_t ink, paper;
};
constexpr int kColourSchemeCount = 5;
// "Default Colours", "Black & White", "White & Black", "Green Screen", "Amber Screen".
const ColourScheme& ColourSchemeAt(int index); // index 0-4

void BuildBeamMap();               // fills beamMap and sets machine.frameTstates
void ApplyColourScheme(int index); // an index outside 0-4 leaves the colours alone
void RenderToBeam(uint32_t now);   // catch up to T-state `now` of this frame
void ResetBeam();                  // the next frame starts drawing at T-state 0
uint32_t BeamPosition();           // the T-state drawn up to
void PresentFrame();               // hands the image to the host
