#include "app/qt/input_routing.h"

#include <QKeyEvent>

#include "app/key_queue.h"
#include "app/keyboard.h"
#include "app/qt/keyboard_helper_window.h"
#include "app/qt/keyboard_picture_window.h"
#include "app/qt/qt_key_map.h"
#include "app/sdl/sdl_joystick.h"

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
    ClearKeyQueue();
    ReleaseAllKeys();
    ForgetPcKeys();
}
void ForgetPcKeys() {
    KeyboardInput().ForgetHeldKeys();
    // Their releases will not come either: a Shift left set would press SHIFT again
    // with every key typed afterwards. (The Keyboard Helper's SYMBOL SHIFT toggle is
    // the same flag and stays while the helper is open.)
    shiftHeld = false;
    if (!KeyboardHelperOpen()) symbolHeld = false;
}
void LetGoOfHeldKeys() {
    KeyboardInput().LetGoOfHeldKeys();
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
