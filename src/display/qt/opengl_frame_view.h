// The OpenGL back-end: the frame image is uploaded to a 384 x 312 texture each time it
// is shown and drawn as one quad over the whole view, sampled GL_NEAREST so the Ace's
// pixels stay sharp at any scale.
//
// Set-up happens when the view is first shown. A failure is reported once (messages
// 50 to 53, caption "NoltACE Display") and the view then draws nothing.
#pragma once

#include <vector>

#include <QOpenGLBuffer>
#include <QOpenGLFunctions>
#include <QOpenGLShaderProgram>

#include "display/qt/gl_surface_view.h"

class OpenGLFrameView : public GlSurfaceView, protected QOpenGLFunctions {
    Q_OBJECT
  public:
    explicit OpenGLFrameView(QWidget* parent);
    ~OpenGLFrameView() override;

    void ShowFrame(const uint32_t* pixels) override;
    bool Ready() const override { return failure_ == 0; }

  protected:
    void InitializeGL() override;
    void Draw(GLuint framebuffer, PixelSize size) override;
    void ReleaseGL() override;

  private:
    void Fail(int code);

    std::vector<uint32_t> pixels_;
    bool pixelsChanged_ = true;
    bool initialised_ = false;
    int failure_ = 0;
    GLuint texture_ = 0;
    QOpenGLShaderProgram program_;
    QOpenGLBuffer quad_;
};
