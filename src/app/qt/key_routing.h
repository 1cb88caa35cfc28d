// Where the main window's key presses reach the Ace's keyboard matrix. The PC keys are
// translated by the keyboard module; this is the one place the window calls it from.
#pragma once

class QKeyEvent;

void RouteKeyPress(const QKeyEvent& event);
void RouteKeyRelease(const QKeyEvent& event);
// Releases every key of the matrix (focus lost, a modal window took the keyboard).
void ReleaseEveryKey();
