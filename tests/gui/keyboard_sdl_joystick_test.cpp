// The SDL2 joystick against SDL's own virtual controller: set-up, axis scaling, the
// port byte, and a controller pulled out.
#include <SDL2/SDL.h>

#include <gtest/gtest.h>

#include "app/host.h"
#include "app/joystick.h"
#include "app/messages.h"
#include "app/sdl/sdl_joystick.h"
#include "machine/machine_state.h"

namespace {

class QuietHost : public Host {
public:
    void ShowMessage(const std::string&, const std::string&) override {}
};

class SdlJoystickTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetHost(&quiet);
        ClearLastReportedMessage();
        ResetJoystick();
        // Our own hold on the subsystem keeps the virtual controller alive across the
        // device's Stop/Start.
        ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_JOYSTICK), 0) << SDL_GetError();
        if (SDL_NumJoysticks() > 0) GTEST_SKIP() << "a real controller is attached";
        SetJoystickDevice(&device);
    }
    void TearDown() override {
        if (handle) SDL_JoystickClose(handle);
        if (virtualIndex >= 0) SDL_JoystickDetachVirtual(virtualIndex);
        SetJoystickDevice(nullptr);
        ResetJoystick();
        SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
        SetHost(nullptr);
    }
    void AttachVirtualPad() {
        virtualIndex = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, 2, 2, 0);
        ASSERT_GE(virtualIndex, 0) << SDL_GetError();
        handle = SDL_JoystickOpen(virtualIndex);
        ASSERT_NE(handle, nullptr) << SDL_GetError();
    }
    void Set(Sint16 x, Sint16 y, bool fire) {
        SDL_JoystickSetVirtualAxis(handle, 0, x);
        SDL_JoystickSetVirtualAxis(handle, 1, y);
        SDL_JoystickSetVirtualButton(handle, 0, fire ? 1 : 0);
        PollJoystick();
    }

    QuietHost quiet;
    SdlJoystick device;
    SDL_Joystick* handle = nullptr;
    int virtualIndex = -1;
};

TEST_F(SdlJoystickTest, NoControllerIsError103) {
    joystickEmulates = kJoystickEmulatesBoldfield;
    EXPECT_FALSE(SetUpJoystick(true));
    EXPECT_EQ(LastReportedMessage().code, kJoystickErrorNoDevice);
    EXPECT_EQ(LastReportedMessage().caption, "NoltACE Error");
    EXPECT_EQ(joystickEmulates, kJoystickEmulatesNone);
    EXPECT_EQ(ReadJoystickPort(), kIdleBus);
}

TEST_F(SdlJoystickTest, VirtualPadDrivesThePort) {
    AttachVirtualPad();
    ASSERT_TRUE(SetUpJoystick(true));
    ASSERT_EQ(joystickNames.size(), 1u);
    joystickEmulates = kJoystickEmulatesBoldfield;

    Set(0, 0, false);
    EXPECT_EQ(ReadJoystickPort(), 0x00);
    Set(-32768, 0, true);
    EXPECT_EQ(joystickState.x, -1000);
    EXPECT_EQ(ReadJoystickPort(), 0x22);
    Set(32767, 32767, false);
    EXPECT_EQ(joystickState.x, 1000);
    EXPECT_EQ(joystickState.y, 1000);
    EXPECT_EQ(ReadJoystickPort(), 0x05);
    Set(16384, -16384, false);
    EXPECT_EQ(joystickState.x, 500);
    EXPECT_EQ(joystickState.y, -500);
    EXPECT_EQ(ReadJoystickPort(), 0x09);
}

TEST_F(SdlJoystickTest, PulledOutControllerKeepsItsLastReading) {
    AttachVirtualPad();
    ASSERT_TRUE(SetUpJoystick(true));
    joystickEmulates = kJoystickEmulatesBoldfield;
    Set(0, -32768, false);
    EXPECT_EQ(ReadJoystickPort(), 0x08);

    SDL_JoystickClose(handle);
    handle = nullptr;
    SDL_JoystickDetachVirtual(virtualIndex);
    virtualIndex = -1;
    PollJoystick(); // lost, nothing to take back: this frame is skipped
    PollJoystick();
    EXPECT_EQ(ReadJoystickPort(), 0x08);
    EXPECT_EQ(LastReportedMessage().code, -1);
}

} // namespace
