#include "base/qt/tool_window_place.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace {

// Writes the window's place back as it moves and when it hides. Moves while the window
// is hidden are its own set-up, not the user's, and are left out.
class PlaceKeeper : public QObject {
  public:
    PlaceKeeper(QWidget* window, ToolWindow which) : QObject(window), window_(window), which_(which) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == window_ &&
            (event->type() == QEvent::Hide || (event->type() == QEvent::Move && window_->isVisible()))) {
            const QPoint place = window_->pos();
            toolWindowPlaces[which_] = {place.x(), place.y()};
        }
        return false;
    }

  private:
    QWidget* window_;
    ToolWindow which_;
};

} // namespace

QPoint PlaceOnSomeScreen(QPoint place) {
    const QPoint grip = place + QPoint(40, 10);
    for (QScreen* screen : QGuiApplication::screens())
        if (screen->availableGeometry().contains(grip)) return place;
    if (QScreen* primary = QGuiApplication::primaryScreen()) return primary->availableGeometry().topLeft();
    return place;
}

void KeepToolWindowPlace(QWidget* window, ToolWindow which) {
    // The place is that of the frame's corner. A window that first takes its size when it
    // is shown gets placed by its inside instead (Qt sizes it after making the native
    // window), and would creep down by a title bar's height at every opening: size it now.
    if (!window->testAttribute(Qt::WA_Resized)) window->adjustSize();
    const WindowPoint stored = toolWindowPlaces[which];
    window->move(PlaceOnSomeScreen(QPoint(stored.left, stored.top)));
    window->installEventFilter(new PlaceKeeper(window, which));
}
