#include "display/qt/shader_frame_view.h"

#include <cmath>
#include <cstring>

#include <QOpenGLContext>
#include <QPointer>
#include <QTimer>

#include "base/messages.h"
#include "display/renderer.h"

ShaderFrameView::ShaderFrameView(QWidget* parent, ShaderPreset preset, std::function<void()> fallBack)
    : QOpenGLWidget(parent), preset_(std::move(preset)), fallBack_(std::move(fallBack)),
      pixels_(kFrameWidth * kFrameHeight, 0) {
    setObjectName("shaderFrameView");
    setFocusPolicy(Qt::NoFocus);
    connect(this, &QOpenGLWidget::frameSwapped, this, &ShaderFrameView::Swapped);
}

ShaderFrameView::~ShaderFrameView() {
    ReleaseGL();
}

void ShaderFrameView::ReleaseGL() {
    if (!initialised_ || !context()) return;
    makeCurrent();
    pipeline_.TearDown();
    doneCurrent();
    initialised_ = false;
}

void ShaderFrameView::initializeGL() {
    // A new top-level window brings a new context: give back what the old one held.
    if (context())
        connect(context(), &QOpenGLContext::aboutToBeDestroyed, this, &ShaderFrameView::ReleaseGL,
                Qt::UniqueConnection);
    initialised_ = true;
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
    if (wait <= 0) return update();
    // Shown a little later, so the last frame before a pause still reaches the screen.
    drawPending_ = true;
    QTimer::singleShot(int(wait), this, [this] {
        drawPending_ = false;
        update();
    });
}

void ShaderFrameView::Swapped() {
    if (!drawing_.isValid()) return;
    lastDrawMs_ = drawing_.elapsed();
    drawing_.invalidate();
    sinceDrawn_.start();
}

void ShaderFrameView::paintGL() {
    if (failed_ || !pipeline_.ready()) return;
    drawing_.start();
    // The passes work in device pixels, so a HiDPI screen gets every pixel it has.
    const qreal ratio = devicePixelRatioF();
    const PixelSize viewport{int(std::lround(width() * ratio)), int(std::lround(height() * ratio))};
    pipeline_.Render(pixels_.data(), viewport, defaultFramebufferObject());
    // A new size can need render targets that the driver refuses.
    if (!pipeline_.ready()) ReportAndFallBack();
}
