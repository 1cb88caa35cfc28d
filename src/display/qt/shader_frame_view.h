// The shader back-end: the frame image drawn through a chain of shader passes
// (shader_pipeline.h) so that the picture can look like a television: "No Shader",
// "Dotmask", "Scanlines", "Curved CRT" or "Aperture".
//
// Set-up happens when the view is first shown. When the driver cannot compile or link
// a shader, or has no OpenGL 3.3 / ES 3.0, the failure is reported with its code and
// the driver's log, and `fallBack` runs: the presenter then replaces this view with the
// plain OpenGL one, so the user always sees a picture.
#pragma once

#include <functional>
#include <vector>

#include <QElapsedTimer>

#include "display/qt/gl_surface_view.h"
#include "display/qt/shader_pipeline.h"

class ShaderFrameView : public GlSurfaceView {
    Q_OBJECT
  public:
    ShaderFrameView(QWidget* parent, ShaderPreset preset, std::function<void()> fallBack);
    ~ShaderFrameView() override;

    void ShowFrame(const uint32_t* pixels) override;
    bool Ready() const override { return !failed_; }

    const ShaderPipeline& pipeline() const { return pipeline_; }

  protected:
    void InitializeGL() override;
    void Draw(GLuint framebuffer, PixelSize size) override;
    void ReleaseGL() override;

  private:
    void ReportAndFallBack();
    void PresentTimed();

    ShaderPreset preset_;
    std::function<void()> fallBack_;
    std::vector<uint32_t> pixels_;
    ShaderPipeline pipeline_;
    bool failed_ = false;
    // A picture that takes longer to draw than a frame lasts (heavy shaders on a software
    // rasteriser) would hold the emulation back: after a drawing that took T, the next
    // one starts no sooner than T later, and the frames in between are only kept.
    QElapsedTimer sinceDrawn_;
    qint64 lastDrawMs_ = 0;
    bool drawPending_ = false;
};
