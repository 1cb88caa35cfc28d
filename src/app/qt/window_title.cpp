#include "app/qt/window_title.h"

#include <QWidget>

#include "app/shell_state.h"

QString MainWindowTitle(bool paused) {
    const QString title = QString("NoltACE v%1").arg(kVersionText);
    return paused ? title + " - Paused" : title;
}

void ShowPausedInTitle(QWidget& window, bool paused) {
    const QString title = MainWindowTitle(paused);
    if (window.windowTitle() != title) window.setWindowTitle(title);
}
