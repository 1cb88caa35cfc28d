#include "app/qt/keyboard_focus.h"

#include <QApplication>
#include <QEvent>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QTimer>

#include "app/qt/input_routing.h"

namespace {

// Hands the keyboard back to the window once no menu is open, a moment later: a menu
// that closes because the next one opens (arrow keys along the bar) leaves one open.
void ReturnKeyboardSoon(QMainWindow* window) {
    QPointer<QMainWindow> guard(window);
    QTimer::singleShot(0, window, [guard] {
        if (!guard || QApplication::activePopupWidget()) return;
        QMenuBar* bar = guard->menuBar();
        if (bar->hasFocus()) guard->setFocus(Qt::OtherFocusReason);
        // The highlight of a menu title left in keyboard mode goes with it.
        if (bar->activeAction() && !bar->hasFocus()) bar->setActiveAction(nullptr);
    });
}

// The menu bar takes the keyboard (Alt pressed alone, or a menu closed with Esc).
class MenuBarFocusWatch : public QObject {
  public:
    explicit MenuBarFocusWatch(QMainWindow* window) : QObject(window), window_(window) {}

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::FocusIn) {
            ScreenLostKeyboard();
            ReturnKeyboardSoon(window_);
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    QMainWindow* window_;
};

} // namespace

void KeepKeyboardWithScreen(QMainWindow* window) {
    QMenuBar* bar = window->menuBar();
    bar->installEventFilter(new MenuBarFocusWatch(window));
    for (QAction* entry : bar->actions())
        if (QMenu* menu = entry->menu()) {
            QObject::connect(menu, &QMenu::aboutToShow, window, [] { ScreenLostKeyboard(); });
            QObject::connect(menu, &QMenu::aboutToHide, window, [window] { ReturnKeyboardSoon(window); });
        }
}

void ScreenLostKeyboard() {
    LetGoOfHeldKeys();
}
