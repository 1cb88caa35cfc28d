// The joystick: set-up and its error codes, polling, and the Boldfield port byte.
#include <string>

#include "machine/joystick.h"
#include "base/messages.h"
#include "machine/machine_state.h"
#include "machine/ports.h"
#include "test_support.h"

namespace {

// A controller whose every step can be made to fail.
class FakeJoystick : public JoystickDevice {
  public:
    bool startOk = true, controllerPresent = true, capabilitiesOk = true, axesOk = true;
    bool readOk = true, reacquireOk = true;
    JoystickPoll pollResult = JoystickPoll::Ok;
    JoystickState stick;
    int low = 0, high = 0;
    int polls = 0, reacquires = 0, reads = 0, stops = 0;

    bool Start() override { return startOk; }
    bool OpenFirstController(std::string& name) override {
        name = "Fake Pad";
        return controllerPresent;
    }
    bool ReadCapabilities() override { return capabilitiesOk; }
    bool SetAxisRange(int lo, int hi) override {
        low = lo, high = hi;
        return axesOk;
    }
    JoystickPoll Poll() override {
        ++polls;
        return pollResult;
    }
    bool Reacquire() override {
        ++reacquires;
        if (reacquireOk) pollResult = JoystickPoll::Ok;
        return reacquireOk;
    }
    bool ReadState(JoystickState& state) override {
        ++reads;
        if (readOk) state = stick;
        return readOk;
    }
    void Stop() override { ++stops; }
};

class JoystickTest : public MachineTest {
  protected:
    void SetUp() override {
        MachineTest::SetUp();
        SetJoystickDevice(&fake);
    }
    void TearDown() override {
        SetJoystickDevice(nullptr);
        joystickInput.Reset();
        MachineTest::TearDown();
    }
    // A ready Boldfield joystick with the fake stick read once.
    void ReadStick(int x, int y, bool fire) {
        fake.stick = {x, y, fire};
        PollJoystick();
    }
    std::string LastMessage() const { return recorder.messages.empty() ? "" : recorder.messages.back(); }

    FakeJoystick fake;
};

TEST_F(JoystickTest, SetUpOpensTheFirstControllerWithAxesFromMinusToPlus1000) {
    ASSERT_TRUE(SetUpJoystick(true));
    EXPECT_TRUE(joystickInput.joystickReady);
    EXPECT_EQ(fake.low, -1000);
    EXPECT_EQ(fake.high, 1000);
    ASSERT_EQ(joystickInput.joystickNames.size(), 1u);
    EXPECT_EQ(joystickInput.joystickNames[0], "Fake Pad");
    EXPECT_TRUE(recorder.messages.empty());
    // Setting up again (the options page) lists the controller once.
    ASSERT_TRUE(SetUpJoystick(true));
    EXPECT_EQ(joystickInput.joystickNames.size(), 1u);
}

TEST_F(JoystickTest, SetUpFailuresReportTheirCodes) {
    struct Case {
        bool FakeJoystick::*flag;
        const char* message;
    } cases[] = {
        {&FakeJoystick::startOk, "NoltACE Error|60 - "},
        {&FakeJoystick::controllerPresent, "NoltACE Error|67 - "},
        {&FakeJoystick::capabilitiesOk, "NoltACE Error|65 - "},
        {&FakeJoystick::axesOk, "NoltACE Error|66 - "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        FakeJoystick failing;
        failing.*c.flag = false;
        SetJoystickDevice(&failing);
        recorder.messages.clear();
        EXPECT_FALSE(SetUpJoystick(true));
        EXPECT_FALSE(joystickInput.joystickReady);
        EXPECT_EQ(LastMessage(), c.message);
        // Quietly when not asked to report.
        recorder.messages.clear();
        EXPECT_FALSE(SetUpJoystick(false));
        EXPECT_TRUE(recorder.messages.empty());
        SetJoystickDevice(nullptr);
    }
    EXPECT_FALSE(SetUpJoystick(true)); // no platform device at all
    EXPECT_EQ(LastMessage(), "NoltACE Error|60 - ");
}

TEST_F(JoystickTest, NoControllerSwitchesEmulationOff) {
    joystickInput.joystickEmulates = kJoystickEmulatesBoldfield;
    fake.controllerPresent = false;
    EXPECT_FALSE(SetUpJoystick(false));
    EXPECT_EQ(joystickInput.joystickEmulates, kJoystickEmulatesNone);
    EXPECT_TRUE(joystickInput.joystickNames.empty());
}

TEST_F(JoystickTest, PortByteBitsForEachDirectionAndTheButton) {
    ASSERT_TRUE(SetUpJoystick(true));
    joystickInput.joystickEmulates = kJoystickEmulatesBoldfield;
    const struct {
        int x, y;
        bool fire;
        uint8_t port;
    } cases[] = {
        {0, 0, false, 0x00},    {1000, 0, false, 0x01},  {-1000, 0, false, 0x02},
        {0, 1000, false, 0x04}, {0, -1000, false, 0x08}, {0, 0, true, 0x20},
        {-1000, 0, true, 0x22}, {1, -1, false, 0x09},    {-400, 700, true, 0x26},
    };
    for (const auto& c : cases) {
        ReadStick(c.x, c.y, c.fire);
        EXPECT_EQ(ReadJoystickPort(), c.port) << c.x << "," << c.y << "," << c.fire;
    }
}

TEST_F(JoystickTest, PortOneReadsTheStickWhateverTheHighByte) {
    ASSERT_TRUE(SetUpJoystick(true));
    joystickInput.joystickEmulates = kJoystickEmulatesBoldfield;
    ReadStick(-1000, 0, true);
    EXPECT_EQ(PortIn(0x0001), 0x22);
    EXPECT_EQ(PortIn(0xFE01), 0x22);
    joystickInput.joystickEmulates = kJoystickEmulatesNone;
    EXPECT_EQ(PortIn(0x0001), kIdleBus);
}

TEST_F(JoystickTest, IdleBusUnlessAReadyBoldfieldJoystick) {
    fake.stick = {-1000, 0, true};
    joystickInput.joystickEmulates = kJoystickEmulatesBoldfield;
    EXPECT_EQ(ReadJoystickPort(), kIdleBus); // not set up
    PollJoystick();
    EXPECT_EQ(fake.polls, 0);

    ASSERT_TRUE(SetUpJoystick(true));
    joystickInput.joystickEmulates = kJoystickEmulatesNone;
    PollJoystick();
    EXPECT_EQ(fake.polls, 0);
    EXPECT_EQ(ReadJoystickPort(), kIdleBus);

    joystickInput.joystickEmulates = kJoystickEmulatesBoldfield;
    PollJoystick();
    EXPECT_EQ(ReadJoystickPort(), 0x22);

    joystickInput.joystickChoice = 1; // a controller the list does not have
    fake.stick = {};
    PollJoystick();
    EXPECT_EQ(ReadJoystickPort(), 0x22);
}

TEST_F(JoystickTest, LostControllerIsTakenBackOrTheFrameSkipped) {
    ASSERT_TRUE(SetUpJoystick(true));
    joystickInput.joystickEmulates = kJoystickEmulatesBoldfield;
    ReadStick(1000, 0, false);

    fake.pollResult = JoystickPoll::Lost;
    fake.reacquireOk = false;
    fake.stick = {-1000, 0, false};
    PollJoystick();
    EXPECT_EQ(fake.reacquires, 1); // one try a frame, no endless loop
    EXPECT_EQ(ReadJoystickPort(), 0x01);

    fake.reacquireOk = true;
    PollJoystick();
    EXPECT_EQ(ReadJoystickPort(), 0x02);

    fake.pollResult = JoystickPoll::Busy;
    fake.stick = {0, 1000, false};
    const int reads = fake.reads;
    PollJoystick();
    EXPECT_EQ(fake.reads, reads);
    EXPECT_EQ(ReadJoystickPort(), 0x02);
    EXPECT_TRUE(recorder.messages.empty());
}

TEST_F(JoystickTest, ReadFailureIsReportedOnceAndTheJoystickGoesOutOfUse) {
    ASSERT_TRUE(SetUpJoystick(true));
    joystickInput.joystickEmulates = kJoystickEmulatesBoldfield;
    fake.readOk = false;
    PollJoystick();
    PollJoystick();
    ASSERT_EQ(recorder.messages.size(), 1u);
    EXPECT_EQ(recorder.messages[0], "NoltACE Error|68 - ");
    EXPECT_FALSE(joystickInput.joystickReady);
    EXPECT_EQ(ReadJoystickPort(), kIdleBus);
}

TEST_F(JoystickTest, ResetLeavesNothingEmulated) {
    ASSERT_TRUE(SetUpJoystick(true));
    joystickInput.joystickEmulates = opt_joystick_emulates = kJoystickEmulatesBoldfield;
    joystickInput.Reset();
    EXPECT_FALSE(joystickInput.joystickReady);
    EXPECT_EQ(joystickInput.joystickEmulates, kJoystickEmulatesNone);
    EXPECT_EQ(opt_joystick_emulates, kJoystickEmulatesNone);
    EXPECT_GE(fake.stops, 1);
    EXPECT_EQ(ReadJoystickPort(), kIdleBus);
}

} // namespace
