// The SDL2 joystick against SDL's own virtual controller: set-up, axis scaling, the
// port byte, and a controller pulled out.
#include <SDL2/SDL.h>

#include <QTest>

#include "machine/joystick.h"
#include "base/messages.h"
#include "app/sdl/sdl_joystick.h"
#include "gui_support.h"
#include "machine/machine_state.h"
#include "machine/ports.h"

class KeyboardJoystickTest : public QObject {
    Q_OBJECT

    SdlJoystick device;
    SDL_Joystick* handle = nullptr;
    int virtualIndex = -1;

    bool AttachVirtualPad() {
        virtualIndex = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, 2, 2, 0);
        if (virtualIndex < 0) return false;
        handle = SDL_JoystickOpen(virtualIndex);
        return handle != nullptr;
    }
    void Set(Sint16 x, Sint16 y, bool fire) {
        SDL_JoystickSetVirtualAxis(handle, 0, x);
        SDL_JoystickSetVirtualAxis(handle, 1, y);
        SDL_JoystickSetVirtualButton(handle, 0, fire ? 1 : 0);
        PollJoystick();
    }
    void Detach() {
        if (handle) SDL_JoystickClose(handle);
        handle = nullptr;
        if (virtualIndex >= 0) SDL_JoystickDetachVirtual(virtualIndex);
        virtualIndex = -1;
    }

  private slots:
    void init() {
        ResetEmulatorState();
        // Our own hold on the subsystem keeps the virtual controller alive while the
        // device stops and starts.
        QCOMPARE(SDL_InitSubSystem(SDL_INIT_JOYSTICK), 0);
        if (SDL_NumJoysticks() > 0) QSKIP("a real controller is attached");
        SetJoystickDevice(&device);
    }
    void cleanup() {
        Detach();
        SetJoystickDevice(nullptr);
        joystickInput.Reset();
        SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
    }

    void noControllerIsError103() {
        joystickInput.joystickEmulates = kJoystickEmulatesBoldfield;
        QVERIFY(!SetUpJoystick(true));
        QCOMPARE(LastReportedMessage().code, kMsgJoystickNoDevice);
        QCOMPARE(LastReportedMessage().caption, std::string("NoltACE Error"));
        QCOMPARE(LastReportedMessage().text, std::string("67 - "));
        QCOMPARE(int(joystickInput.joystickEmulates), int(kJoystickEmulatesNone));
        QCOMPARE(int(ReadJoystickPort()), int(kIdleBus));
    }

    void virtualPadDrivesPortOne() {
        QVERIFY(AttachVirtualPad());
        QVERIFY(SetUpJoystick(true));
        QCOMPARE(joystickInput.joystickNames.size(), size_t(1));
        joystickInput.joystickEmulates = kJoystickEmulatesBoldfield;

        Set(0, 0, false);
        QCOMPARE(int(PortIn(0x0001)), 0x00);
        Set(-32768, 0, true);
        QCOMPARE(joystickInput.joystickState.x, -1000);
        QCOMPARE(int(PortIn(0x0001)), 0x22);
        Set(32767, 32767, false);
        QCOMPARE(joystickInput.joystickState.x, 1000);
        QCOMPARE(joystickInput.joystickState.y, 1000);
        QCOMPARE(int(PortIn(0x0001)), 0x05);
        Set(16384, -16384, false);
        QCOMPARE(joystickInput.joystickState.x, 500);
        QCOMPARE(joystickInput.joystickState.y, -500);
        QCOMPARE(int(PortIn(0x0001)), 0x09);

        joystickInput.joystickEmulates = kJoystickEmulatesNone;
        QCOMPARE(int(PortIn(0x0001)), int(kIdleBus));
    }

    void pulledOutControllerKeepsItsLastReading() {
        QVERIFY(AttachVirtualPad());
        QVERIFY(SetUpJoystick(true));
        joystickInput.joystickEmulates = kJoystickEmulatesBoldfield;
        Set(0, -32768, false);
        QCOMPARE(int(ReadJoystickPort()), 0x08);

        Detach();
        PollJoystick(); // lost, and nothing to take back: the frame is skipped
        PollJoystick();
        QCOMPARE(int(ReadJoystickPort()), 0x08);
        QCOMPARE(LastReportedMessage().code, -1);
    }
};

REGISTER_GUI_SUITE(KeyboardJoystickTest);
#include "keyboard_joystick_test.moc"
