// The main window's title: "NoltACE v1.06", and "NoltACE v1.06 - Paused" while the user
// has paused the machine (Esc) or it waits for the focus to come back.
#pragma once

#include <QString>

class QWidget;

QString MainWindowTitle(bool paused);
// Sets the title for `paused` when it differs from the one shown.
void ShowPausedInTitle(QWidget& window, bool paused);
