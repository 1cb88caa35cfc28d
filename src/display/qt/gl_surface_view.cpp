#include "display/qt/gl_surface_view.h"

#include <cmath>
#include <memory>

#include <QExposeEvent>
#include <QHBoxLayout>
#include <QOpenGLContext>
#include <QOpenGLFramebufferObject>
#include <QWindow>

class GlSurfaceView::Surface : public QWindow {
  public:
    explicit Surface(GlSurfaceView* view) : view_(view) {
        setSurfaceType(QSurface::OpenGLSurface);
        QSurfaceFormat format = QSurfaceFormat::defaultFormat();
        format.setSwapInterval(0);
        setFormat(format);
        // Input belongs to the widgets: the main window's keys, drops and clicks.
        setFlags(flags() | Qt::WindowTransparentForInput | Qt::WindowDoesNotAcceptFocus);
    }
    ~Surface() override = default; // the view has released its resources by now

    QOpenGLContext* context() const { return context_.get(); }
    int framesDrawn() const { return framesDrawn_; }

    // Makes the context current, creating it (and calling InitializeGL) the first time.
    bool MakeCurrent() {
        if (!handle()) return false;
        if (!initialised_) {
            initialised_ = true;
            context_ = std::make_unique<QOpenGLContext>();
            context_->setFormat(requestedFormat());
            if (!context_->create() || !context_->makeCurrent(this)) context_.reset();
            view_->InitializeGL();
            return context_ != nullptr;
        }
        return context_ && context_->makeCurrent(this);
    }

    PixelSize DeviceSize() const {
        const qreal ratio = devicePixelRatio();
        return {int(std::lround(width() * ratio)), int(std::lround(height() * ratio))};
    }

    void Present() {
        if (!isExposed() || !MakeCurrent()) return;
        view_->Draw(context_->defaultFramebufferObject(), DeviceSize());
        context_->swapBuffers(this);
        ++framesDrawn_;
    }

    // Draws once more and reads the picture back before showing it: the very pixels the
    // window shows, in the window's own format. A window not on screen draws offscreen.
    QImage Grab() {
        const PixelSize size = DeviceSize();
        if (size.width <= 0 || size.height <= 0 || !MakeCurrent()) return {};
        QImage image(size.width, size.height, QImage::Format_RGBA8888);
        QOpenGLFunctions* gl = context_->functions();
        gl->glPixelStorei(GL_PACK_ALIGNMENT, 4);
        if (isExposed()) {
            view_->Draw(context_->defaultFramebufferObject(), size);
            gl->glReadPixels(0, 0, size.width, size.height, GL_RGBA, GL_UNSIGNED_BYTE, image.bits());
            context_->swapBuffers(this);
        } else {
            QOpenGLFramebufferObject target(size.width, size.height);
            view_->Draw(target.handle(), size);
            gl->glReadPixels(0, 0, size.width, size.height, GL_RGBA, GL_UNSIGNED_BYTE, image.bits());
        }
        return image.mirrored(); // OpenGL's rows run bottom-up
    }

    void Release() {
        if (!context_ || !context_->makeCurrent(this)) return;
        view_->ReleaseGL();
        context_->doneCurrent();
        context_.reset();
    }

  protected:
    void exposeEvent(QExposeEvent*) override { Present(); }

  private:
    GlSurfaceView* view_;
    std::unique_ptr<QOpenGLContext> context_;
    bool initialised_ = false;
    int framesDrawn_ = 0;
};

GlSurfaceView::GlSurfaceView(QWidget* parent) : QWidget(parent), surface_(new Surface(this)) {
    setFocusPolicy(Qt::NoFocus);
    QWidget* container = QWidget::createWindowContainer(surface_, this);
    container->setFocusPolicy(Qt::NoFocus);
    container->setAttribute(Qt::WA_TransparentForMouseEvents);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(container);
}

GlSurfaceView::~GlSurfaceView() = default; // the container deletes the surface

void GlSurfaceView::ReleaseContextResources() {
    surface_->Release();
}

void GlSurfaceView::Present() {
    surface_->Present();
}

int GlSurfaceView::framesDrawn() const {
    return surface_->framesDrawn();
}

QOpenGLContext* GlSurfaceView::Context() const {
    return surface_->context();
}

QImage GlSurfaceView::Grab() {
    return surface_->Grab();
}
