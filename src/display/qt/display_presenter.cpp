#include "display/qt/display_presenter.h"

#include <QWidget>

#include "display/presentation.h"
#include "display/qt/opengl_frame_view.h"
#include "display/qt/screen_panel.h"
#include "display/qt/shader_frame_view.h"
#include "display/qt/software_frame_view.h"
#include "display/renderer.h"

DisplayPresenter::DisplayPresenter(ScreenPanel* panel) : panel_(panel) {}

DisplayPresenter::~DisplayPresenter() = default; // the panel owns the view widget

void DisplayPresenter::SetUpDisplay(int drawMode, int scale) {
    TearDownDisplay();
    panel_->SetScale(scale);
    AdjustPaperForBackEnd(drawMode);
    switch (PresentingBackEnd(drawMode)) {
    case kDrawShaders:
        view_ = new ShaderFrameView(panel_, BuildShaderPreset(opt_shader), [this] { FallBackToOpenGL(); });
        break;
    case kDrawOpenGL: view_ = new OpenGLFrameView(panel_); break;
    default: view_ = new SoftwareFrameView(panel_); break;
    }
    panel_->SetView(view_->widget());
    // A new back-end starts from the current picture, not from black.
    PresentFrame();
}

void DisplayPresenter::FallBackToOpenGL() {
    TearDownDisplay();
    view_ = new OpenGLFrameView(panel_);
    panel_->SetView(view_->widget());
    PresentFrame();
}

void DisplayPresenter::TearDownDisplay() {
    if (!view_) return;
    panel_->SetView(nullptr);
    delete view_->widget();
    view_ = nullptr;
}

void DisplayPresenter::PresentFrame() {
    if (!view_ || !view_->Ready()) return;
    view_->ShowFrame(frameImage);
    ++presented_;
}
