#include "display/qt/display_presenter.h"

#include <cstring>

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
    shownView_ = nullptr; // a new view may be given the same address
}

void DisplayPresenter::PresentFrame() {
    if (!view_ || !view_->Ready()) return;
    CatchUpBeam();
    // A picture the view already holds is not handed over again: at the FORTH prompt
    // that saves converting and repainting the window fifty times a second, for the
    // price of one comparison.
    if (view_ != shownView_ || std::memcmp(shownPixels_.data(), frameImage, sizeof frameImage) != 0) {
        view_->ShowFrame(frameImage);
        shownView_ = view_;
        std::memcpy(shownPixels_.data(), frameImage, sizeof frameImage);
    }
    ++presented_;
}
