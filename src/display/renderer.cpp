#include "display/renderer.h"

#include "app/host.h"

uint32_t frameImage[kFrameWidth * kFrameHeight];
uint32_t inkColour = 0xCACACA, paperColour = 0x000000;

void BuildBeamMap() {}
void ApplyColourScheme(int) {}
void RenderToBeam(uint32_t) {}
void ResetBeam() {}
void PresentFrame() { host().PresentFrame(); }
