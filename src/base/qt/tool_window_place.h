// Tool windows that come back where the user left them. A window calls
// KeepToolWindowPlace last thing in its constructor, once its contents are built: it
// opens at its place in toolWindowPlaces (brought back onto a screen when that place is
// on none today), and every move while it is shown and every hide or close writes the
// place back, so the configuration file saved at quit has it even when the window is
// still open then.
//
//   TapeBrowser::TapeBrowser(QWidget* parent) : QDialog(parent) {
//       ...                       // every pane and button
//       KeepToolWindowPlace(this, kPlaceTapeBrowser);
//   }
#pragma once

#include <QPoint>

#include "base/window_places.h"

class QWidget;

// `place` when enough of a title bar there is on some screen for the user to grab it,
// else the top-left corner of the primary screen's free area.
QPoint PlaceOnSomeScreen(QPoint place);

void KeepToolWindowPlace(QWidget* window, ToolWindow which);
