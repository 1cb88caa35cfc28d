// Creates and destroys the presentation back-end and hands it frames.
//
// Exactly one back-end exists at a time; every change of back-end or scale goes through
// SetUpDisplay, which tears the old one down first. The shader back-end (draw mode 2)
// uses the shader opt_shader and falls back to plain OpenGL when the driver refuses it.
//
//   DisplayPresenter presenter(panel);
//   presenter.SetUpDisplay(opt_DrawMode, opt_DrawSize);
//   presenter.PresentFrame();   // shows frameImage (display/renderer.h)
#pragma once

#include <cstdint>

#include "display/renderer.h"

class FrameView;
class ScreenPanel;

class DisplayPresenter {
  public:
    explicit DisplayPresenter(ScreenPanel* panel);
    ~DisplayPresenter();

    void SetUpDisplay(int drawMode, int scale);
    void TearDownDisplay();
    void PresentFrame();
    // The shader back-end could not start (and said why): present with plain OpenGL.
    void FallBackToOpenGL();

    FrameView* view() const { return view_; }
    // Frames presented, and of those the ones handed to the view (the others showed
    // the picture it already had).
    int presentedFrames() const { return presented_; }
    int shownFrames() const { return shown_; }

  private:
    ScreenPanel* panel_;
    FrameView* view_ = nullptr; // a child widget of the panel
    int presented_ = 0;
    int shown_ = 0;
    // The view that last took a picture, and the renderer's serial of that picture.
    const FrameView* shownView_ = nullptr;
    uint32_t shownSerial_ = 0;
};
