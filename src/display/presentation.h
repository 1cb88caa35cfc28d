// How the 384 x 312 frame image is laid out on the screen, whatever draws it.
//
// `opt_DrawMode` picks the back-end (0 software painting, 1 OpenGL, 2 the shader
// pipeline on OpenGL, with the shader `opt_shader`) and `opt_DrawSize` the scale:
// 1 to 3 show the image at that integer scale in a window with a 5-pixel margin, 4 is
// full screen, where the image is centred at the largest whole scale that fits, with
// black bars around it. The window's screen
// area is fixed for each scale; the user cannot resize it.
//
//   PixelRect image = ImageRectInWindow(2);   // {5, 5, 768, 624}
//   PixelSize area = ScreenAreaSize(2);       // {778, 634}: the status bar comes below
#pragma once

#include <cstdint>

enum DrawMode : int {
    kDrawSoftware = 0,
    kDrawOpenGL = 1,
    kDrawShaders = 2,
};

constexpr int kFullScreenScale = 4;
constexpr int kImageMargin = 5;

extern int opt_DrawMode; // 0 to 2
extern int opt_DrawSize; // 1 to 3, or 4 for full screen
// The shader back-end's shader: 0 "No Shader", 1 "Dotmask", 2 "Scanlines",
// 3 "Curved CRT", 4 "Aperture" (display/shader_preset.h).
constexpr int kShaderCount = 5;
extern int opt_shader;

struct PixelSize {
    int width = 0, height = 0;
    bool operator==(const PixelSize&) const = default;
};

struct PixelRect {
    int x = 0, y = 0, width = 0, height = 0;
    bool operator==(const PixelRect&) const = default;
};

// The shader back-end shows black paper (border and background) as dark grey, so that
// scanlines and masks have light to work on; other paper colours stay. Called at every
// set-up: leaving the shader back-end puts black back, unless the paper changed since.
constexpr uint32_t kShaderPaperColour = 0x303030;
void AdjustPaperForBackEnd(int drawMode);

// The back-end that presents for a draw mode (unknown modes present as 0).
DrawMode PresentingBackEnd(int drawMode);

// A window scale of 1 to 3; anything else (full screen included) gives 1.
int WindowScale(int scale);

// The window's screen area at a window scale: the image plus its margin on every side.
PixelSize ScreenAreaSize(int scale);
// Where the image sits inside that area.
PixelRect ImageRectInWindow(int scale);
// Full screen: centred at the largest whole scale that fits the screen (the aspect ratio
// kept, black bars around it); on a screen smaller than 384 x 312, as large as fits.
PixelRect ImageRectFullScreen(PixelSize screen);
