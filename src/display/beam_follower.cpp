// The lazy beam: what is owed to the frame image and how it is paid when somebody looks.
#include <algorithm>
#include <cstring>

#include "base/host.h"
#include "display/beam_drawing.h"
#include "display/renderer.h"
#include "machine/machine_state.h"

namespace {

constexpr uint16_t kVideoOffset = 0x400; // video RAM within its 8 KB page
constexpr uint16_t kCharsOffset = 0xC00; // character RAM
constexpr size_t kScreenRamSize = 0x400;

// This frame's image is drawn up to here; the part up to beamDue, with the writes noted
// in currentFrameWrites, is owed.
uint32_t lastRendered = 0;

// The previous frame, while nobody has looked at it and the frame after it might still
// let parts of it show: its image is owed from `from` to `to`, with its writes.
bool previousOwed = false;
uint32_t previousFrom = 0, previousTo = 0;
ScreenWriteLog previousFrameWrites;

// Video and character RAM as they were when the owed drawing began, replayed forward.
uint8_t replayVideo[kScreenRamSize], replayChars[kScreenRamSize];

uint8_t& ReplayByte(uint16_t offset) {
    return offset < kCharsOffset ? replayVideo[offset - kVideoOffset] : replayChars[offset - kCharsOffset];
}

void Undo(const ScreenWriteLog& log) {
    for (int i = log.count - 1; i >= 0; --i)
        ReplayByte(log.writes[i].offset) = log.writes[i].before;
}

// Draws from `from` to `to` as the beam did: each write shows from the position it was
// made at.
void Replay(const ScreenWriteLog& log, uint32_t from, uint32_t to, bool skipUnchanged) {
    uint32_t position = from;
    for (int i = 0; i < log.count; ++i) {
        const ScreenWrite& w = log.writes[i];
        if (w.due > position) {
            DrawBeamSpan(position, w.due, replayVideo, replayChars, skipUnchanged);
            position = w.due;
        }
        ReplayByte(w.offset) = w.after;
        if (w.offset >= kCharsOffset) NoteGlyphByte(uint16_t(w.offset - kCharsOffset), w.after);
    }
    if (to > position) DrawBeamSpan(position, to, replayVideo, replayChars, skipUnchanged);
}

void CatchUp(bool skipUnchanged) {
    const uint8_t* page = machine.pages[1];
    if (!previousOwed && renderer.currentFrameWrites.count == 0) {
        // The common case: nothing changed since the last drawing, draw straight from RAM.
        if (lastRendered < renderer.beamDue) {
            NoteGlyphs(page + kCharsOffset);
            DrawBeamSpan(lastRendered, renderer.beamDue, page + kVideoOffset, page + kCharsOffset, skipUnchanged);
        }
    } else {
        std::memcpy(replayVideo, page + kVideoOffset, kScreenRamSize);
        std::memcpy(replayChars, page + kCharsOffset, kScreenRamSize);
        Undo(renderer.currentFrameWrites);
        if (previousOwed) Undo(previousFrameWrites);
        NoteGlyphs(replayChars); // the replays follow each glyph write from here
        if (previousOwed) Replay(previousFrameWrites, previousFrom, previousTo, skipUnchanged);
        Replay(renderer.currentFrameWrites, lastRendered, renderer.beamDue, skipUnchanged);
        renderer.currentFrameWrites.count = 0;
        previousFrameWrites.count = 0;
        previousOwed = false;
    }
    lastRendered = std::max(lastRendered, renderer.beamDue);
}

} // namespace

void CatchUpBeam() {
    CatchUp(true);
}

void ScreenWriteLogFull() {
    CatchUp(true);
}

void BeamWentBack(uint32_t now) {
    // What the beam drew up to its old position stays; drawing goes on from `now`.
    CatchUp(true);
    lastRendered = now;
}

void RenderToBeam(uint32_t now) {
    if (now < renderer.beamDue) {
        BeamWentBack(now);
        renderer.beamDue = now;
        return;
    }
    renderer.beamDue = now;
    CatchUp(false);
}

void ResetBeam() {
    if (previousOwed) {
        // The frame that ends drew over all of the previous one unless it stopped short.
        if (renderer.beamDue >= kBeamFrameTstates && lastRendered == 0)
            previousOwed = false;
        else
            CatchUp(true);
    }
    const uint32_t owedTo = std::min(renderer.beamDue, kBeamFrameTstates);
    if (renderer.currentFrameWrites.count > 0 || lastRendered < owedTo) {
        previousOwed = true;
        previousFrom = lastRendered;
        previousTo = owedTo;
        previousFrameWrites.count = renderer.currentFrameWrites.count;
        std::copy_n(renderer.currentFrameWrites.writes, renderer.currentFrameWrites.count,
                    previousFrameWrites.writes);
    }
    renderer.currentFrameWrites.count = 0;
    lastRendered = 0;
    renderer.beamDue = 0;
}

uint32_t BeamPosition() {
    return renderer.beamDue;
}

void ForgetPendingDrawing() {
    previousOwed = false;
    previousFrameWrites.count = 0;
    renderer.currentFrameWrites.count = 0;
    lastRendered = 0;
    renderer.beamDue = 0;
}

void RestartBeamAt(uint32_t due) {
    ForgetPendingDrawing();
    renderer.beamDue = lastRendered = due;
    ForgetDrawnLines();
    FrameImageWritten();
}

void PresentFrame() {
    Host& h = host();
    if (!h.ShowsFrames()) return; // nobody would see it: the drawing stays owed
    CatchUpBeam();
    h.PresentFrame();
}
