#include "app/qt/key_routing.h"

#include <cstring>

#include <QKeyEvent>

#include "machine/machine_state.h"

// The PC-key to Ace-key translation (src/app/keyboard.h, src/app/qt/qt_key_map.h) plugs
// in here; until then the Ace's keyboard only hears spooled text.
void RouteKeyPress(const QKeyEvent& event) { (void)event; }

void RouteKeyRelease(const QKeyEvent& event) { (void)event; }

void ReleaseEveryKey() { std::memset(machine.keyMatrix, 0xFF, sizeof machine.keyMatrix); }
