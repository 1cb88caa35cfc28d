#include "app/qt/input_routing.h"

#include <cstring>

#include <QKeyEvent>

#include "machine/machine_state.h"

// The keyboard module (app/keyboard.h, qt_key_map.h, the keyboard windows and the SDL
// joystick) is written alongside this window; until it is merged the Ace's keyboard
// hears only spooled text. Once it is in, the fallbacks below can go.
#if __has_include("app/qt/qt_key_map.h")
#define NOLTACE_HAVE_KEYBOARD 1
#include "app/keyboard.h"
#include "app/qt/keyboard_helper_window.h"
#include "app/qt/keyboard_picture_window.h"
#include "app/qt/qt_key_map.h"
#include "app/sdl/sdl_joystick.h"
#else
#define NOLTACE_HAVE_KEYBOARD 0
#endif

#if NOLTACE_HAVE_KEYBOARD

namespace {
QtKeyboardInput& KeyboardInput() {
    static QtKeyboardInput input;
    return input;
}
} // namespace

void StartInputDevices() {
    UseSdlJoystick();
}
bool RouteKeyPress(const QKeyEvent& event) {
    return KeyboardInput().KeyPressed(event);
}
bool RouteKeyRelease(const QKeyEvent& event) {
    return KeyboardInput().KeyReleased(event);
}
void ReleaseEveryKey() {
    ReleaseAllKeys();
    KeyboardInput().ForgetHeldKeys();
}
bool KeyboardWindowsAvailable() {
    return true;
}
void ShowKeyboardPicture(QWidget* owner) {
    OpenKeyboardPicture(owner);
}
void ShowKeyboardHelper(QWidget* owner) {
    OpenKeyboardHelper(owner);
}
bool KeyboardHelperIsOpen() {
    return KeyboardHelperOpen();
}

#else

void StartInputDevices() {}
bool RouteKeyPress(const QKeyEvent&) {
    return false;
}
bool RouteKeyRelease(const QKeyEvent&) {
    return false;
}
void ReleaseEveryKey() {
    std::memset(machine.keyMatrix, 0xFF, sizeof machine.keyMatrix);
}
bool KeyboardWindowsAvailable() {
    return false;
}
void ShowKeyboardPicture(QWidget*) {}
void ShowKeyboardHelper(QWidget*) {}
bool KeyboardHelperIsOpen() {
    return false;
}

#endif
