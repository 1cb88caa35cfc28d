#include "app/joystick.h"

#include "machine/machine_state.h"

// No joystick until one is set up: port 0x01 reads the idle bus.
void PollJoystick() {}
uint8_t ReadJoystickPort() { return machine.idleBus; }
