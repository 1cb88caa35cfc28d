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
    shownView_ = nullptr; // a new view may be given the same address
}

void DisplayPresenter::PresentFrame() {
    if (!view_ || !view_->Ready()) return;
    CatchUpBeam();
    // A picture the view already holds is not handed over again: at the FORTH prompt
    // nothing is converted, uploaded or repainted. The renderer's serial says whether
    // anything was drawn since, so standing still costs no look at the pixels. (The
    // view repaints its own copy when the window is exposed or resized.)
    const uint32_t serial = FrameImageSerial();
    if (view_ != shownView_ || serial != shownSerial_) {
        view_->ShowFrame(renderer.frameImage);
        shownView_ = view_;
        shownSerial_ = serial;
        ++shown_;
    }
    ++presented_;
}
