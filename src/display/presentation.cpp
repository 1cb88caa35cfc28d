#include "display/presentation.h"

#include <algorithm>

#include "display/renderer.h"

int opt_DrawMode = kDrawSoftware;
int opt_DrawSize = 1;
int opt_shader = 0;

namespace {
bool paperDarkened = false; // black paper shown as kShaderPaperColour
} // namespace

void AdjustPaperForBackEnd(int drawMode) {
    if (PresentingBackEnd(drawMode) == kDrawShaders) {
        if (renderer.paperColour == 0x000000) {
            renderer.paperColour = kShaderPaperColour;
            paperDarkened = true;
        }
        return;
    }
    if (paperDarkened && renderer.paperColour == kShaderPaperColour) renderer.paperColour = 0x000000;
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
    if (screen.width <= 0 || screen.height <= 0) return {0, 0, 0, 0};
    int width = 0, height = 0;
    const int scale = std::min(screen.width / kFrameWidth, screen.height / kFrameHeight);
    if (scale >= 1) {
        // Whole multiples keep every Ace pixel the same size.
        width = kFrameWidth * scale;
        height = kFrameHeight * scale;
    } else if (int64_t(screen.width) * kFrameHeight <= int64_t(screen.height) * kFrameWidth) {
        // A screen smaller than the picture: as large as fits, the shape kept.
        width = screen.width;
        height = std::max(1, int(int64_t(screen.width) * kFrameHeight / kFrameWidth));
    } else {
        height = screen.height;
        width = std::max(1, int(int64_t(screen.height) * kFrameWidth / kFrameHeight));
    }
    return {(screen.width - width) / 2, (screen.height - height) / 2, width, height};
}
