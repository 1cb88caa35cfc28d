#include "display/qt/frame_view.h"

#include "display/renderer.h"

void CopyFrameToImage(const uint32_t* pixels, QImage& image) {
    for (int y = 0; y < kFrameHeight; ++y) {
        auto* row = reinterpret_cast<uint32_t*>(image.scanLine(y));
        const uint32_t* source = pixels + y * kFrameWidth;
        for (int x = 0; x < kFrameWidth; ++x)
            row[x] = source[x] | 0xFF000000u;
    }
}
