#include "app/qt/window_title.h"

#include <QWidget>

#include "app/shell_state.h"

QString MainWindowTitle(bool paused) {
    // Built once: the main loop asks on every pass.
    static const QString running = QString("NoltACE v%1").arg(kVersionText);
    static const QString stopped = running + " - Paused";
    return paused ? stopped : running;
}

void ShowPausedInTitle(QWidget& window, bool paused) {
    const QString title = MainWindowTitle(paused);
    if (window.windowTitle() != title) window.setWindowTitle(title);
}
