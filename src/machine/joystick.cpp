#include "machine/joystick.h"

#include "base/messages.h"
#include "machine/machine_state.h"

uint8_t joystickEmulates = kJoystickEmulatesNone;
int joystickChoice = 0;
uint8_t opt_joystick_emulates = kJoystickEmulatesNone;
int opt_joystick_choice = 0;
bool joystickReady = false;
std::vector<std::string> joystickNames;
JoystickState joystickState;

namespace {

JoystickDevice* device = nullptr;

bool Fail(bool reportErrors, int code) {
    if (reportErrors) ReportMessage(kCaptionError, code);
    return false;
}

// The Boldfield Interface's port byte, active high.
constexpr uint8_t kJoyRight = 0x01, kJoyLeft = 0x02, kJoyDown = 0x04, kJoyUp = 0x08, kJoyFire = 0x20;

} // namespace

void SetJoystickDevice(JoystickDevice* newDevice) {
    if (device && device != newDevice) device->Stop();
    device = newDevice;
    joystickReady = false;
    joystickNames.clear();
}

bool SetUpJoystick(bool reportErrors) {
    // Setting up again (the options page does on every opening) starts from nothing.
    joystickNames.clear();
    joystickReady = false;
    joystickState = {};
    if (!device) return Fail(reportErrors, kMsgJoystickStart);
    device->Stop();
    if (!device->Start()) return Fail(reportErrors, kMsgJoystickStart);

    std::string name;
    if (!device->OpenFirstController(name)) {
        joystickEmulates = kJoystickEmulatesNone;
        return Fail(reportErrors, kMsgJoystickNoDevice);
    }
    joystickNames.push_back(name);

    if (!device->ReadCapabilities()) return Fail(reportErrors, kMsgJoystickCapabilities);
    // No dead zone: any deflection of the stick counts as a direction.
    if (!device->SetAxisRange(-1000, 1000)) return Fail(reportErrors, kMsgJoystickAxes);
    joystickReady = true;
    return true;
}

void PollJoystick() {
    if (joystickEmulates == kJoystickEmulatesNone || !joystickReady || !device) return;
    if (joystickChoice < 0 || joystickChoice >= int(joystickNames.size())) return;

    JoystickPoll result = device->Poll();
    // One attempt a frame to win back a lost controller; a controller pulled out
    // must not hold the emulation in a loop. Until it answers, the stick keeps its
    // last reading.
    if (result == JoystickPoll::Lost) {
        if (!device->Reacquire()) return;
        result = device->Poll();
    }
    if (result != JoystickPoll::Ok) return;

    if (!device->ReadState(joystickState)) {
        // Reported once: the joystick then goes out of use instead of raising the
        // same message box every frame.
        joystickReady = false;
        joystickState = {};
        ReportMessage(kCaptionError, kMsgJoystickRead);
    }
}

uint8_t ReadJoystickPort() {
    if (!joystickReady || joystickEmulates != kJoystickEmulatesBoldfield) return machine.idleBus;
    uint8_t v = 0;
    if (joystickState.x > 0) v |= kJoyRight;
    if (joystickState.x < 0) v |= kJoyLeft;
    if (joystickState.y > 0) v |= kJoyDown;
    if (joystickState.y < 0) v |= kJoyUp;
    if (joystickState.fire) v |= kJoyFire;
    return v;
}

void ResetJoystick() {
    if (device) device->Stop();
    joystickEmulates = opt_joystick_emulates = kJoystickEmulatesNone;
    joystickChoice = opt_joystick_choice = 0;
    joystickReady = false;
    joystickNames.clear();
    joystickState = {};
}
