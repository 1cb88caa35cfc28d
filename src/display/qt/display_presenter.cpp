#include "display/qt/display_presenter.h"

#include <QWidget>

#include "display/presentation.h"
#include "display/qt/opengl_frame_view.h"
#include "display/qt/screen_panel.h"
#include "display/qt/software_frame_view.h"
#include "display/renderer.h"

DisplayPresenter::DisplayPresenter(ScreenPanel* panel) : panel_(panel) {}

DisplayPresenter::~DisplayPresenter() = default; // the panel owns the view widget

void DisplayPresenter::SetUpDisplay(int drawMode, int scale) {
    TearDownDisplay();
    panel_->SetScale(scale);
    if (PresentingBackEnd(drawMode) == kDrawOpenGL)
        view_ = new OpenGLFrameView(panel_);
    else
        view_ = new SoftwareFrameView(panel_);
    panel_->SetView(view_->widget());
    // A new back-end starts from the current picture, not from black.
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
    CatchUpBeam();
    view_->ShowFrame(frameImage);
    ++presented_;
}
