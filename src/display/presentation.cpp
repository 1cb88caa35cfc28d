#include "display/presentation.h"

#include "display/renderer.h"

int opt_DrawMode = kDrawSoftware;
int opt_DrawSize = 1;
int opt_shader = 0;

namespace {
bool paperDarkened = false; // black paper shown as kShaderPaperColour
} // namespace

void AdjustPaperForBackEnd(int drawMode) {
    if (PresentingBackEnd(drawMode) == kDrawShaders) {
        if (paperColour == 0x000000) {
            paperColour = kShaderPaperColour;
            paperDarkened = true;
        }
        return;
    }
    if (paperDarkened && paperColour == kShaderPaperColour) paperColour = 0x000000;
    paperDarkened = false;
}

DrawMode PresentingBackEnd(int drawMode) {
    switch (drawMode) {
    case kDrawOpenGL: return kDrawOpenGL;
    case kDrawShaders: return kDrawShaders;
    default: return kDrawSoftware;
    }
}

int WindowScale(int scale) {
    return scale >= 1 && scale <= 3 ? scale : 1;
}

PixelSize ScreenAreaSize(int scale) {
    const int s = WindowScale(scale);
    return {kFrameWidth * s + 2 * kImageMargin, kFrameHeight * s + 2 * kImageMargin};
}

PixelRect ImageRectInWindow(int scale) {
    const int s = WindowScale(scale);
    return {kImageMargin, kImageMargin, kFrameWidth * s, kFrameHeight * s};
}

PixelRect ImageRectFullScreen(PixelSize screen) {
    return {0, 0, screen.width, screen.height};
}
