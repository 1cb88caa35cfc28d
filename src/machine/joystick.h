// The joystick as the Ace sees it: a PC game controller standing in for the joystick
// port of the "Boldfield Interface" (port 0x01).
//
// The platform installs a JoystickDevice (sdl/sdl_joystick.h) with SetJoystickDevice.
// SetUpJoystick opens the first controller that works and reports failures with codes
// 96 and 101-103; PollJoystick (the frame driver, once a frame) copies the stick's
// position and fire button into `joystickState`; ReadJoystickPort (the port decoder,
// on every IN from port 0x01) turns that record into the interface's byte, or the idle
// bus when no joystick is emulated. The port read costs no device call.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The stick as last read: axes scaled to -1000..1000 (negative left / up), button 1.
struct JoystickState {
    int32_t x = 0;
    int32_t y = 0;
    bool fire = false;
};

// How a poll went: read the state, or skip this frame and try again at the next.
enum class JoystickPoll : uint8_t { Ok, Lost, Busy };

// The platform's access to game controllers. Each call returns false on failure.
class JoystickDevice {
  public:
    virtual ~JoystickDevice() = default;
    // Starts the platform's controller input.
    virtual bool Start() = 0;
    // Opens the first attached controller that works and gives its name; false when none.
    virtual bool OpenFirstController(std::string& name) = 0;
    // Reads the opened controller's capabilities (axes, buttons).
    virtual bool ReadCapabilities() = 0;
    // Makes the axes report values from `low` to `high`.
    virtual bool SetAxisRange(int low, int high) = 0;
    // Refreshes the controller's state.
    virtual JoystickPoll Poll() = 0;
    // Takes the controller back after it was lost; true when it answers again.
    virtual bool Reacquire() = 0;
    virtual bool ReadState(JoystickState& state) = 0;
    // Lets the controller and the input system go.
    virtual void Stop() = 0;
};

// The "Emulates" choice.
enum JoystickEmulation : uint8_t { kJoystickEmulatesNone = 0, kJoystickEmulatesBoldfield = 1 };
inline constexpr const char* kJoystickEmulationNames[] = {"None", "Boldfield Interface"};

struct JoystickInput {
    uint8_t joystickEmulates = kJoystickEmulatesNone; // live "Emulates" choice
    int joystickChoice = 0;                           // live index into joystickNames
    bool joystickReady = false;                       // a controller is open and set up
    std::vector<std::string> joystickNames;           // the controllers found (at most one)
    JoystickState joystickState;

    // No controller, nothing emulated, centred stick (the options dialog's copies too).
    // Stops the device; the platform's device stays installed.
    void Reset();
};
extern JoystickInput joystickInput;
extern uint8_t opt_joystick_emulates; // the options dialog's copies; not saved
extern int opt_joystick_choice;

// Failures are reported with caption kind 0 and the kMsgJoystick codes (base/messages.h),
// which have no text of their own.

// The platform's device; nullptr (the default) means no controller input at all.
void SetJoystickDevice(JoystickDevice* device);

// Opens and prepares the first controller. Returns true on success; on failure reports
// the error code when `reportErrors` is set and returns false.
bool SetUpJoystick(bool reportErrors);
void PollJoystick();
uint8_t ReadJoystickPort();
