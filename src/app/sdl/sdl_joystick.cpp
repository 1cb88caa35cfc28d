#include "app/sdl/sdl_joystick.h"

#include <SDL2/SDL.h>

#include <algorithm>

SdlJoystick::~SdlJoystick() {
    Stop();
}

bool SdlJoystick::Start() {
    if (started_) return true;
    // The emulator reads the stick whichever window has the focus, like a
    // non-exclusive background device.
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    // SDL would turn SIGINT and SIGTERM into quit events that nobody reads here, leaving
    // the emulator deaf to a desktop's request to end it; Qt and the default actions handle them.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_InitSubSystem(SDL_INIT_JOYSTICK) != 0) return false;
    // Qt runs the event loop: SDL's queue is never drained, so keep joystick events out
    // of it and read the state directly.
    SDL_JoystickEventState(SDL_IGNORE);
    started_ = true;
    return true;
}

bool SdlJoystick::OpenFirstController(std::string& name) {
    if (!started_) return false;
    SDL_JoystickUpdate(); // picks up controllers attached since the last look
    const int count = SDL_NumJoysticks();
    for (int i = 0; i < count; ++i) {
        SDL_Joystick* joystick = SDL_JoystickOpen(i);
        if (!joystick) continue; // skipped: the next one may work
        joystick_ = joystick;
        const char* sdlName = SDL_JoystickName(joystick);
        name = sdlName ? sdlName : "Joystick";
        return true;
    }
    return false;
}

bool SdlJoystick::ReadCapabilities() {
    if (!joystick_) return false;
    axisCount_ = SDL_JoystickNumAxes(joystick_);
    buttonCount_ = SDL_JoystickNumButtons(joystick_);
    return axisCount_ >= 0 && buttonCount_ >= 0;
}

bool SdlJoystick::SetAxisRange(int low, int high) {
    // SDL always reports -32768..32767; the range is applied when the state is read.
    if (!joystick_ || low >= high) return false;
    low_ = low;
    high_ = high;
    return true;
}

JoystickPoll SdlJoystick::Poll() {
    if (!joystick_) return JoystickPoll::Busy;
    SDL_JoystickUpdate();
    return SDL_JoystickGetAttached(joystick_) ? JoystickPoll::Ok : JoystickPoll::Lost;
}

bool SdlJoystick::Reacquire() {
    // A controller plugged back in comes back as a new SDL device: open the first one
    // that answers, as set-up did.
    if (joystick_) SDL_JoystickClose(joystick_);
    joystick_ = nullptr;
    std::string name;
    return OpenFirstController(name) && ReadCapabilities();
}

bool SdlJoystick::ReadState(JoystickState& state) {
    if (!joystick_) return false;
    const auto scale = [this](Sint16 raw) {
        const int centre = (low_ + high_) / 2;
        const int half = (high_ - low_) / 2;
        // Symmetric about the centre, so a stick at rest (0) reads exactly centred.
        return std::clamp(centre + int(raw) * half / 32767, low_, high_);
    };
    state.x = axisCount_ > 0 ? scale(SDL_JoystickGetAxis(joystick_, 0)) : 0;
    state.y = axisCount_ > 1 ? scale(SDL_JoystickGetAxis(joystick_, 1)) : 0;
    state.fire = buttonCount_ > 0 && SDL_JoystickGetButton(joystick_, 0) != 0;
    return true;
}

void SdlJoystick::Stop() {
    if (joystick_) SDL_JoystickClose(joystick_);
    joystick_ = nullptr;
    if (started_) SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
    started_ = false;
}

void UseSdlJoystick() {
    // Never destroyed: at exit SDL may already have been shut down by the sound output,
    // and closing its joystick then would touch freed memory. The process ends anyway.
    static SdlJoystick* joystick = new SdlJoystick;
    SetJoystickDevice(joystick);
}
