// Turns video RAM (0x2400) and character RAM (0x2C00) into the 384 x 312 frame image,
// following the emulated beam, so mid-frame changes show only on the part drawn after
// them.
//
// The beam is followed lazily. After every instruction the step only moves `beamDue`,
// the T-state the image is due to be drawn up to; a processor write that changes video
// or character RAM is noted with the beam position it happened at (NoteScreenWrite), and
// nothing is drawn until somebody looks: PresentFrame, a screenshot, the debugger
// (CatchUpBeam). Then the noted writes are replayed over a copy of the two RAMs,
// so the picture is exactly the one that drawing after every instruction would have
// made, and whole lines whose codes, glyphs and colours are unchanged since they were
// last drawn are skipped. A frame nobody looks at costs no drawing.
//
// Usage: BuildBeamMap() and ApplyColourScheme() once at start-up (the beam map is also
// ready before main runs); the instruction step calls MoveBeam(tstates) after every
// instruction; the frame driver calls ResetBeam() at each frame end and PresentFrame()
// every frameSkipPeriod frames. Code that writes video or character RAM directly in
// the middle of a frame (the tape trap) calls CatchUpBeam() first. RenderToBeam(now)
// draws at once, for tests and tools. The image is never cleared: a cell the beam skips
// keeps what the previous frame drew there.
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

// A processor write is about to change the byte at `offset` of the 8 KB page holding
// video and character RAM (0x400-0x7FF video, 0xC00-0xFFF characters) from `before`
// to `after`: it shows from the current beam position on.
struct ScreenWrite {
    uint32_t due;
    uint16_t offset;
    uint8_t before, after;
};
constexpr int kScreenWriteLogSize = 4096;
struct ScreenWriteLog {
    int count = 0;
    ScreenWrite writes[kScreenWriteLogSize];
};

struct RendererState {
    // 0x00RRGGBB pixels, kFrameWidth per row.
    uint32_t frameImage[kFrameWidth * kFrameHeight];
    // Ink and paper (paper is also the border). ApplyColourScheme sets them; a back-end
    // may change paperColour directly, and the renderer picks the change up at its next call.
    uint32_t inkColour = 0xCACACA, paperColour = 0x000000;
    // The lazy side. The T-state of this frame the image is due up to.
    uint32_t beamDue = 0;
    ScreenWriteLog currentFrameWrites;

    // A black image, the default colours, nothing drawn or owed.
    void Reset();
};
extern RendererState renderer;

struct ColourScheme {
    const char* name;
    uint32_t ink, paper;
};
constexpr int kColourSchemeCount = 5;
// "Default Colours", "Black & White", "White & Black", "Green Screen", "Amber Screen".
const ColourScheme& ColourSchemeAt(int index); // index 0-4

void BuildBeamMap();               // fills beamMap and sets machine.frameTstates
void ApplyColourScheme(int index); // an index outside 0-4 leaves the colours alone
void RenderToBeam(uint32_t now);   // draw now, up to T-state `now` of this frame
void ResetBeam();                  // the next frame starts drawing at T-state 0
uint32_t BeamPosition();           // the T-state the image is due up to
void PresentFrame();               // completes the image and hands it to the host

// Moves whenever drawing may have changed frameImage (a line drawn whole, a cell drawn
// on its own) and stands still while the picture does: a presenter that remembers the
// value of the picture it showed knows, without comparing pixels, whether there is
// anything new to show. Code that writes frameImage itself calls FrameImageWritten.
uint32_t FrameImageSerial();
void FrameImageWritten();

void BeamWentBack(uint32_t now); // the frame's T-state counter was moved backwards
// After every instruction: the beam is due at `now`.
inline void MoveBeam(uint32_t now) {
    if (now < renderer.beamDue) BeamWentBack(now);
    renderer.beamDue = now;
}

void ScreenWriteLogFull();
inline void NoteScreenWrite(uint16_t offset, uint8_t before, uint8_t after) {
    if (renderer.currentFrameWrites.count == kScreenWriteLogSize) ScreenWriteLogFull();
    renderer.currentFrameWrites.writes[renderer.currentFrameWrites.count++] = {renderer.beamDue, offset,
                                                                               before, after};
}

// Draws everything owed up to beamDue: call before reading frameImage, and before
// writing video or character RAM other than through the processor in mid-frame.
void CatchUpBeam();
void ForgetPendingDrawing(); // drops what is owed (a new machine, new geometry)
// The frame image was put back as it was with the beam at `due` (a restored machine
// state): nothing is owed, drawing goes on from there, every line is drawn afresh.
void RestartBeamAt(uint32_t due);
