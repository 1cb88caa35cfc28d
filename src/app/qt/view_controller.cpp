#include "app/qt/view_controller.h"

#include <algorithm>

#include <QAction>
#include <QGuiApplication>
#include <QLayout>
#include <QMainWindow>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>

#include "app/qt/main_menu.h"
#include "app/qt/run_commands.h"
#include "app/qt/status_bar_panel.h"
#include "app/shell_state.h"
#include "display/presentation.h"
#include "display/qt/display_presenter.h"

namespace {

// A larger scale may push the window past the edge of its screen: slide it back in as far
// as it fits.
QPoint KeptOnScreen(QPoint place, QSize size) {
    QScreen* home = QGuiApplication::screenAt(place + QPoint(40, 10));
    if (!home) home = QGuiApplication::primaryScreen();
    if (!home) return place;
    const QRect area = home->availableGeometry();
    place.setX(std::max(area.left(), std::min(place.x(), area.right() + 1 - size.width())));
    place.setY(std::max(area.top(), std::min(place.y(), area.bottom() + 1 - size.height())));
    return place;
}

} // namespace

ViewController::ViewController(QMainWindow* window, DisplayPresenter& presenter, StatusBarPanel& status,
                               const MainMenuActions& actions)
    : window_(window), presenter_(presenter), status_(status), actions_(actions) {}

bool ViewController::fullScreen() const {
    return opt_DrawSize == kFullScreenScale;
}

void ViewController::SetUpDisplay() {
    if (opt_DrawSize < 1 || opt_DrawSize > kFullScreenScale) opt_DrawSize = 1;
    TickScale(opt_DrawSize);
    presenter_.SetUpDisplay(opt_DrawMode, opt_DrawSize);
    if (!fullScreen()) PlaceWindow();
}

void ViewController::SetWindowScale(int scale) {
    PauseAround pause;
    if (fullScreen()) {
        // The menu is hidden in full screen, but a size chosen there still means "leave".
        scaleBeforeFullScreen_ = WindowScale(scale);
        ToggleFullScreen();
        return;
    }
    TickScale(scale);
    status_.SetUpdatesEnabled(true);
    opt_DrawSize = WindowScale(scale);
    SetUpDisplay();
}

void ViewController::ToggleFullScreen() {
    switching_ = true;
    if (fullScreen()) {
        opt_DrawSize = scaleBeforeFullScreen_;
        window_->menuBar()->show();
        window_->statusBar()->show();
        TickScale(opt_DrawSize);
        status_.SetUpdatesEnabled(true);
        window_->showNormal();
        presenter_.SetUpDisplay(opt_DrawMode, opt_DrawSize);
        PlaceWindow();
        window_->unsetCursor();
    } else {
        window_->menuBar()->hide();
        window_->statusBar()->hide();
        scaleBeforeFullScreen_ = opt_DrawSize;
        status_.SetUpdatesEnabled(false);
        opt_DrawSize = kFullScreenScale;
        TickScale(opt_DrawSize);
        windowedPosition_ = window_->pos();
        havePosition_ = true;
        window_->setCursor(Qt::BlankCursor);
        window_->layout()->setSizeConstraint(QLayout::SetDefaultConstraint);
        window_->setMinimumSize(0, 0);
        window_->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        presenter_.SetUpDisplay(opt_DrawMode, opt_DrawSize);
        window_->showFullScreen();
        // Without a window manager to honour the full-screen request, cover the screen directly.
        if (QScreen* screen = window_->screen()) window_->setGeometry(screen->geometry());
    }
    presenter_.PresentFrame();
    switching_ = false;
}

void ViewController::WindowMoved() {
    if (switching_ || fullScreen() || !window_->isVisible()) return;
    windowedPosition_ = window_->pos();
    havePosition_ = true;
    mainWindowPlacement.left = windowedPosition_.x();
    mainWindowPlacement.top = windowedPosition_.y();
}

void ViewController::RestorePlace(int left, int top) {
    QPoint place(left, top);
    // Enough of the title bar must be on some screen for the user to grab it.
    const QPoint grip = place + QPoint(40, 10);
    bool visible = false;
    for (QScreen* screen : QGuiApplication::screens())
        visible = visible || screen->availableGeometry().contains(grip);
    if (!visible)
        if (QScreen* primary = QGuiApplication::primaryScreen()) place = primary->availableGeometry().topLeft();
    windowedPosition_ = place;
    havePosition_ = true;
    mainWindowPlacement.left = place.x();
    mainWindowPlacement.top = place.y();
    if (!fullScreen()) window_->move(place);
}

int ViewController::windowedScale() const {
    return fullScreen() ? scaleBeforeFullScreen_ : WindowScale(opt_DrawSize);
}

void ViewController::TickScale(int scale) {
    if (QAction* action = actions_.SizeAction(scale)) action->setChecked(true);
}

void ViewController::PlaceWindow() {
    // The window takes exactly the size its contents need: the menu, the screen area of
    // the scale and the status bar. The user cannot resize it.
    window_->layout()->setSizeConstraint(QLayout::SetFixedSize);
    window_->adjustSize();
    if (havePosition_) window_->move(KeptOnScreen(windowedPosition_, window_->frameGeometry().size()));
}
