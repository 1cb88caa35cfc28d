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

#include <memory>

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
    int presentedFrames() const { return presented_; }

  private:
    ScreenPanel* panel_;
    FrameView* view_ = nullptr; // a child widget of the panel
    int presented_ = 0;
};
