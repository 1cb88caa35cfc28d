// The joystick as the Ace sees it: polled once a frame, read on port 0x01.
#pragma once

#include <cstdint>

void PollJoystick();
uint8_t ReadJoystickPort();
