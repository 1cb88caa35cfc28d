#include "screen_capture.h"

#include "display/bmp_file.h"
#include "display/renderer.h"

bool WriteScreenshot(const std::string& path, std::string& error) {
    CatchUpBeam(); // the frames run since the last look are drawn only now
    return WriteScreenshotImage(path, kFrameWidth, kFrameHeight, renderer.frameImage, error);
}
