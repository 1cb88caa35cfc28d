// Turns video RAM (0x2400) and character RAM (0x2C00) into the 384 x 312 frame image,
// following the emulated beam: after every instruction the renderer catches up to the
// current T-state, so mid-frame changes show only on the part drawn after them.
#pragma once

#include <cstdint>

constexpr int kFrameWidth = 384;
constexpr int kFrameHeight = 312;
constexpr int kLineTstates = 207;
constexpr int kFrameLines = 312;

// 0x00RRGGBB pixels, kFrameWidth per row.
extern uint32_t frameImage[kFrameWidth * kFrameHeight];
extern uint32_t inkColour, paperColour;

void BuildBeamMap();
void ApplyColourScheme(int index);
void RenderToBeam(uint32_t now);
void ResetBeam();
void PresentFrame(); // hands the image to the host
