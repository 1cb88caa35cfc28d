#include "display/renderer.h"

#include <cstring>

#include "base/host.h"
#include "display/beam_drawing.h"
#include "machine/machine_state.h"

uint8_t beamMap[kBeamFrameTstates];
RendererState renderer;

namespace {

constexpr ColourScheme kSchemes[kColourSchemeCount] = {
    {"Default Colours", 0xCACACA, 0x000000}, {"Black & White", 0xFFFFFF, 0x000000},
    {"White & Black", 0x000000, 0xFFFFFF},   {"Green Screen", 0x00B500, 0x000000},
    {"Amber Screen", 0xB68000, 0x000000},
};

constexpr uint32_t kDisplayTopTstate = uint32_t(kFirstDisplayLine * kLineTstates);         // 11592
constexpr uint32_t kDisplayBottomTstate = uint32_t((kLastDisplayLine + 1) * kLineTstates); // 51336

// The eight pixels of every glyph byte in the current colours, bit 7 leftmost, so a
// display cell is one 32-byte copy. Inverse video uses the entry of the inverted byte.
uint32_t cellPixels[256][8];
uint32_t patternInk = 1, patternPaper = 1; // colours cellPixels was built for (none yet)

void BuildCellPixels() {
    for (int g = 0; g < 256; ++g)
        for (int bit = 0; bit < 8; ++bit)
            cellPixels[g][bit] = (g & (0x80 >> bit)) ? renderer.inkColour : renderer.paperColour;
    patternInk = renderer.inkColour;
    patternPaper = renderer.paperColour;
}

// The map is ready before anything can render, even if nobody calls BuildBeamMap.
const bool beamMapReady = (BuildBeamMap(), true);

uint32_t imageSerial = 0;

} // namespace

uint32_t FrameImageSerial() {
    return imageSerial;
}

void FrameImageWritten() {
    ++imageSerial;
}

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
    ForgetDrawnLines();
    ForgetPendingDrawing();
}

const ColourScheme& ColourSchemeAt(int index) {
    return kSchemes[index >= 0 && index < kColourSchemeCount ? index : 0];
}

void RendererState::Reset() {
    std::memset(frameImage, 0, sizeof frameImage);
    // The glyph patterns follow the colours at the next drawing, as after a back-end's change.
    inkColour = kSchemes[0].ink;
    paperColour = kSchemes[0].paper;
    ForgetDrawnLines();
    ForgetPendingDrawing();
    FrameImageWritten();
}

void ApplyColourScheme(int index) {
    if (index < 0 || index >= kColourSchemeCount) return;
    renderer.inkColour = kSchemes[index].ink;
    renderer.paperColour = kSchemes[index].paper;
    BuildCellPixels();
    ForgetDrawnLines();
}

namespace {

// What each line was last drawn whole from: the look (colours and glyphs, as a serial
// number) and, for display lines, the 32 character codes of its row. 0 = unknown.
uint32_t lookSerial = 1;
uint32_t lineLook[kFrameLines];
uint8_t lineCodes[kLastDisplayLine - kFirstDisplayLine + 1][32];
uint8_t glyphsSeen[1024]; // the character RAM the current look was drawn with

void NewLook() {
    if (++lookSerial == 0) lookSerial = 1;
}

// Colours changed since the cell table was built (a back-end may set paperColour).
void CheckColours() {
    if (renderer.inkColour != patternInk || renderer.paperColour != patternPaper) {
        BuildCellPixels();
        NewLook();
    }
}


void FillPaper(uint32_t* out, int pixels) {
    for (int k = 0; k < pixels; ++k)
        out[k] = renderer.paperColour;
}

// All of line y, as a run of visits from its first T-states to its last would draw it:
// border cells in paper, display cells from their codes and glyphs; blanking untouched.
void DrawWholeLine(uint32_t y, const uint8_t* video, const uint8_t* chars, bool skipUnchanged) {
    uint32_t* out = renderer.frameImage + y * kFrameWidth;
    if (y < uint32_t(kFirstDisplayLine) || y > uint32_t(kLastDisplayLine)) {
        if (skipUnchanged && lineLook[y] == lookSerial) return;
        lineLook[y] = lookSerial;
        ++imageSerial;
        FillPaper(out, kFrameWidth);
        return;
    }
    const uint32_t line = y - kFirstDisplayLine;
    const uint8_t* codes = video + (line >> 3) * 32;
    if (skipUnchanged && lineLook[y] == lookSerial && std::memcmp(lineCodes[line], codes, 32) == 0) return;
    lineLook[y] = lookSerial;
    ++imageSerial;
    std::memcpy(lineCodes[line], codes, 32);
    const uint8_t* glyphLine = chars + (y & 7);
    FillPaper(out, kDisplayStartTstate * 2);
    out += kDisplayStartTstate * 2;
    for (int column = 0; column < 32; ++column, out += 8) {
        const uint8_t c = codes[column];
        uint8_t g = glyphLine[(c & 0x7F) * 8];
        if (c & 0x80) g = uint8_t(~g); // inverse video: ink and paper swap
        std::memcpy(out, cellPixels[g], sizeof cellPixels[g]);
    }
    FillPaper(out, kFrameWidth - (kDisplayEndTstate + 1) * 2);
}

} // namespace

void ForgetDrawnLines() {
    NewLook();
}

void NoteGlyphs(const uint8_t* chars) {
    if (std::memcmp(glyphsSeen, chars, sizeof glyphsSeen) != 0) {
        std::memcpy(glyphsSeen, chars, sizeof glyphsSeen);
        NewLook();
    }
}

void NoteGlyphByte(uint16_t index, uint8_t value) {
    if (glyphsSeen[index] == value) return;
    glyphsSeen[index] = value;
    NewLook();
}

void DrawBeamSpan(uint32_t from, uint32_t to, const uint8_t* video, const uint8_t* chars,
                  bool skipUnchanged) {
    if (to > kBeamFrameTstates) to = kBeamFrameTstates;
    if (from >= to) return;
    CheckColours();

    // Visit every 4th T-state from `from` (positions need not be multiples of 4). Line
    // and position in the line advance incrementally; a run that covers a line from its
    // first cell to its end draws the line whole, which may be skipped.
    uint32_t p = from;
    uint32_t y = p / kLineTstates;
    uint32_t h = p - y * kLineTstates;
    while (p < to) {
        if (h < 4 && p - h + kLineTstates <= to) {
            DrawWholeLine(y, video, chars, skipUnchanged);
            const uint32_t visits = (kLineTstates - h + 3) / 4;
            p += visits * 4;
            h = h + visits * 4 - kLineTstates;
            ++y;
            continue;
        }
        const uint8_t kind = beamMap[p];
        if (kind != kBeamBlank) {
            lineLook[y] = 0; // drawn in part: no longer what a whole draw left
            ++imageSerial;
            uint32_t* out = renderer.frameImage + y * kFrameWidth + (h >> 2) * 8;
            if (kind == kBeamDisplay) {
                const uint32_t column = (h >> 2) - 8;
                const uint8_t c = video[((y - kFirstDisplayLine) >> 3) * 32 + column];
                uint8_t g = chars[(c & 0x7F) * 8 + (y & 7)];
                if (c & 0x80) g = uint8_t(~g);
                std::memcpy(out, cellPixels[g], sizeof cellPixels[g]);
            } else {
                FillPaper(out, 8);
            }
        }
        p += 4;
        h += 4;
        if (h >= uint32_t(kLineTstates)) {
            h -= kLineTstates;
            ++y;
        }
    }
}
