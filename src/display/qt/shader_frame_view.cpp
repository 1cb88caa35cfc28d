#include "display/qt/shader_frame_view.h"

#include <cstring>

#include <QPointer>
#include <QTimer>

#include "base/messages.h"
#include "display/renderer.h"

ShaderFrameView::ShaderFrameView(QWidget* parent, ShaderPreset preset, std::function<void()> fallBack)
    : GlSurfaceView(parent), preset_(std::move(preset)), fallBack_(std::move(fallBack)),
      pixels_(kFrameWidth * kFrameHeight, 0) {
    setObjectName("shaderFrameView");
}

ShaderFrameView::~ShaderFrameView() {
    ReleaseContextResources();
}

void ShaderFrameView::ReleaseGL() {
    pipeline_.TearDown();
}

void ShaderFrameView::InitializeGL() {
    if (!pipeline_.SetUp(preset_)) ReportAndFallBack();
}

void ShaderFrameView::ReportAndFallBack() {
    if (failed_) return;
    failed_ = true;
    const int code = pipeline_.failureCode();
    const std::string log = pipeline_.failureLog();
    // Not from inside the GL callback: the message box runs its own event loop, and the
    // fall-back deletes this widget.
    QPointer<ShaderFrameView> self(this);
    QTimer::singleShot(0, [self, code, log] {
        ReportMessage(kCaptionDisplay, code, log);
        if (!self || !self->fallBack_) return;
        const std::function<void()> fallBack = self->fallBack_; // it deletes this widget
        fallBack();
    });
}

void ShaderFrameView::ShowFrame(const uint32_t* pixels) {
    std::memcpy(pixels_.data(), pixels, pixels_.size() * sizeof(uint32_t));
    if (drawPending_) return;
    const qint64 wait = sinceDrawn_.isValid() ? lastDrawMs_ - sinceDrawn_.elapsed() : 0;
    if (wait <= 0) return PresentTimed();
    // Shown a little later, so the last frame before a pause still reaches the screen.
    drawPending_ = true;
    QTimer::singleShot(int(wait), this, [this] {
        drawPending_ = false;
        PresentTimed();
    });
}

void ShaderFrameView::PresentTimed() {
    QElapsedTimer drawing;
    drawing.start();
    Present();
    lastDrawMs_ = drawing.elapsed();
    sinceDrawn_.start();
}

void ShaderFrameView::Draw(GLuint framebuffer, PixelSize size) {
    if (failed_ || !pipeline_.ready()) return;
    // The passes work in device pixels, so a HiDPI screen gets every pixel it has.
    pipeline_.Render(pixels_.data(), size, framebuffer);
    // A new size can need render targets that the driver refuses.
    if (!pipeline_.ready()) ReportAndFallBack();
}
