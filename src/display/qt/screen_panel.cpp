#include "display/qt/screen_panel.h"

#include "display/presentation.h"

ScreenPanel::ScreenPanel(QWidget* parent) : QWidget(parent) {
    setObjectName("screenPanel");
    // The margin shows the window's own background colour.
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Window);
    setFocusPolicy(Qt::NoFocus);
    SetScale(1);
}

void ScreenPanel::SetView(QWidget* view) {
    view_ = view;
    if (view_) {
        view_->setParent(this);
        PlaceView();
        view_->show();
    }
}

void ScreenPanel::SetScale(int scale) {
    scale_ = scale;
    // Full screen puts black bars beside the picture; a window keeps its own colour.
    setBackgroundRole(scale_ == kFullScreenScale ? QPalette::Shadow : QPalette::Window);
    if (scale_ == kFullScreenScale) {
        QPalette bars = palette();
        bars.setColor(QPalette::Shadow, Qt::black);
        setPalette(bars);
        setMinimumSize(0, 0);
        setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    } else {
        const PixelSize area = ScreenAreaSize(scale_);
        setFixedSize(area.width, area.height);
    }
    PlaceView();
}

void ScreenPanel::resizeEvent(QResizeEvent*) {
    PlaceView();
}

void ScreenPanel::PlaceView() {
    if (!view_) return;
    const PixelRect r =
        scale_ == kFullScreenScale ? ImageRectFullScreen({width(), height()}) : ImageRectInWindow(scale_);
    view_->setGeometry(r.x, r.y, r.width, r.height);
}
