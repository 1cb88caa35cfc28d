// What the OpenGL back-ends share: a native child window of their own, set into the
// widget tree through a window container, that they draw straight into and swap.
//
// Why not QOpenGLWidget: it draws into a texture that Qt then composes with the whole
// top-level window on every update. Under a software rasteriser (Mesa's llvmpipe) that
// composition of a 300% window costs about 20 ms of processor time a frame, several
// times the drawing itself.
//
// Drawing is synchronous: Present() draws and swaps at once, as the frame ends, so a
// picture never waits a frame in the event queue. The swap does not wait for the
// screen's refresh either: the emulation is paced by the sound or its own clock.
// The child window takes no input: clicks, drops and keys go to the widgets beneath.
//
//   class MyView : public GlSurfaceView {
//       void InitializeGL() override;                           // context current
//       void Draw(GLuint framebuffer, PixelSize size) override; // each Present and Grab
//       void ReleaseGL() override;                              // context current
//   };
//   MyView::~MyView() { ReleaseContextResources(); }  // while MyView still exists
#pragma once

#include <QOpenGLFunctions>
#include <QWidget>

#include "display/presentation.h"
#include "display/qt/frame_view.h"

class QOpenGLContext;

class GlSurfaceView : public QWidget, public FrameView {
    Q_OBJECT
  public:
    ~GlSurfaceView() override;

    QWidget* widget() override { return this; }
    // Draws the picture once more, at the window's size in device pixels, and reads the
    // window's buffer back before showing it: exactly what the window shows.
    QImage Grab() override;
    // Pictures drawn into the window so far (benchmarks divide by it).
    int framesDrawn() const;

  protected:
    explicit GlSurfaceView(QWidget* parent);

    // The context is current in all three; Draw also has `framebuffer` bound. Before
    // InitializeGL the context is created; Context() is null when that failed.
    virtual void InitializeGL() = 0;
    virtual void Draw(GLuint framebuffer, PixelSize size) = 0;
    virtual void ReleaseGL() = 0;

    // Draws into the window and swaps now, when the window is on screen.
    void Present();
    // Calls ReleaseGL with the context current, once; derived destructors call it.
    void ReleaseContextResources();
    QOpenGLContext* Context() const;

  private:
    class Surface;

    Surface* surface_ = nullptr;
};
