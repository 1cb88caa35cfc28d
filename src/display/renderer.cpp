#include "display/renderer.h"

#include <cstring>

#include "base/host.h"
#include "machine/machine_state.h"

uint8_t beamMap[kBeamFrameTstates];
uint32_t frameImage[kFrameWidth * kFrameHeight];
uint32_t inkColour = 0xCACACA, paperColour = 0x000000;

namespace {

constexpr ColourScheme kSchemes[kColourSchemeCount] = {
    {"Default Colours", 0xCACACA, 0x000000}, {"Black & White", 0xFFFFFF, 0x000000},
    {"White & Black", 0x000000, 0xFFFFFF},   {"Green Screen", 0x00B500, 0x000000},
    {"Amber Screen", 0xB68000, 0x000000},
};

constexpr uint32_t kDisplayTopTstate = uint32_t(kFirstDisplayLine * kLineTstates);         // 11592
constexpr uint32_t kDisplayBottomTstate = uint32_t((kLastDisplayLine + 1) * kLineTstates); // 51336

uint32_t lastRendered = 0;

// The eight pixels of every glyph byte in the current colours, bit 7 leftmost, so a
// display cell is one 32-byte copy. Inverse video uses the entry of the inverted byte.
uint32_t cellPixels[256][8];
uint32_t patternInk = 1, patternPaper = 1; // colours cellPixels was built for (none yet)

void BuildCellPixels() {
    for (int g = 0; g < 256; ++g)
        for (int bit = 0; bit < 8; ++bit)
            cellPixels[g][bit] = (g & (0x80 >> bit)) ? inkColour : paperColour;
    patternInk = inkColour;
    patternPaper = paperColour;
}

// The map is ready before anything can render, even if nobody calls BuildBeamMap.
const bool beamMapReady = (BuildBeamMap(), true);

} // namespace

void BuildBeamMap() {
    for (uint32_t i = 0; i < kBeamFrameTstates; ++i) {
        const uint32_t h = i % kLineTstates;
        uint8_t kind = kBeamDisplay;
        if (h >= uint32_t(kBlankingTstate))
            kind = kBeamBlank;
        else if (i < kDisplayTopTstate || i >= kDisplayBottomTstate)
            kind = kBeamTopBottomBorder;
        else if (h < uint32_t(kDisplayStartTstate) || h > uint32_t(kDisplayEndTstate))
            kind = kBeamSideBorder;
        beamMap[i] = kind;
    }
    machine.frameTstates = kBeamFrameTstates;
}

const ColourScheme& ColourSchemeAt(int index) {
    return kSchemes[index >= 0 && index < kColourSchemeCount ? index : 0];
}

void ApplyColourScheme(int index) {
    if (index < 0 || index >= kColourSchemeCount) return;
    inkColour = kSchemes[index].ink;
    paperColour = kSchemes[index].paper;
    BuildCellPixels();
}

void RenderToBeam(uint32_t now) {
    if (now <= lastRendered) {
        // Nothing new. A counter that went backwards (the fast tape loop restarts the
        // frame's T-states) becomes the new position, so drawing resumes from there.
        lastRendered = now;
        return;
    }
    if (inkColour != patternInk || paperColour != patternPaper) BuildCellPixels();

    // Visit every 4th T-state from where the last call stopped (positions need not be
    // multiples of 4). Line and position in the line advance incrementally.
    const uint32_t end = now < kBeamFrameTstates ? now : kBeamFrameTstates;
    uint32_t p = lastRendered;
    uint32_t y = p / kLineTstates;
    uint32_t h = p - y * kLineTstates;
    const uint8_t* videoRam = machine.pages[1] + 0x400; // 0x2400, no mirroring
    const uint8_t* charRam = machine.pages[1] + 0xC00;  // 0x2C00
    for (; p < end; p += 4) {
        const uint8_t kind = beamMap[p];
        if (kind != kBeamBlank) {
            uint32_t* out = frameImage + y * kFrameWidth + (h >> 2) * 8;
            if (kind == kBeamDisplay) {
                const uint32_t column = (h >> 2) - 8;
                const uint8_t c = videoRam[((y - kFirstDisplayLine) >> 3) * 32 + column];
                uint8_t g = charRam[(c & 0x7F) * 8 + (y & 7)];
                if (c & 0x80) g = uint8_t(~g); // inverse video: ink and paper swap
                std::memcpy(out, cellPixels[g], sizeof cellPixels[g]);
            } else {
                for (int k = 0; k < 8; ++k)
                    out[k] = paperColour;
            }
        }
        h += 4;
        if (h >= uint32_t(kLineTstates)) {
            h -= kLineTstates;
            ++y;
        }
    }
    lastRendered = now;
}

void ResetBeam() {
    lastRendered = 0;
}
uint32_t BeamPosition() {
    return lastRendered;
}

void PresentFrame() {
    host().PresentFrame();
}
