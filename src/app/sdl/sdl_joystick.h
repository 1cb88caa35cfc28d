// The joystick through SDL2: the first game controller SDL can open, read once a
// frame by PollJoystick (app/joystick.h). Axes come back scaled to the range set by
// SetAxisRange; button 1 is SDL's button 0.
//
// Usage: UseSdlJoystick() at start-up, before the configuration is loaded (its loading
// may call SetUpJoystick); it installs one SdlJoystick for the program's run.
#pragma once

#include "machine/joystick.h"

struct _SDL_Joystick;

class SdlJoystick : public JoystickDevice {
  public:
    ~SdlJoystick() override;

    bool Start() override;
    bool OpenFirstController(std::string& name) override;
    bool ReadCapabilities() override;
    bool SetAxisRange(int low, int high) override;
    JoystickPoll Poll() override;
    bool Reacquire() override;
    bool ReadState(JoystickState& state) override;
    void Stop() override;

  private:
    bool started_ = false;
    _SDL_Joystick* joystick_ = nullptr;
    int axisCount_ = 0;
    int buttonCount_ = 0;
    int low_ = -1000;
    int high_ = 1000;
};

// Makes the program's one SdlJoystick the joystick device (app/joystick.h).
void UseSdlJoystick();
