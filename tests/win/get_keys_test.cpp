// Polling through GetKeys: the keyboard and joystick rules end to end, and lost devices.
#include "plugin_fixture.h"

namespace {

constexpr int kDikUp = 0xC8, kDikDown = 0xD0, kDikHome = 0xC7, kDikLShift = 0x2A, kDikA = 0x1E;

class GetKeysTest : public PluginTest {
protected:
    void StartWithKeyboardOn(int controller) {
        keyboard = fake.AddKeyboard();
        StoreMapping(controller, 0);
        Start();
    }
    void StartWithJoystickOn(int controller, std::vector<std::pair<std::string, int>> fields) {
        pad = fake.AddJoystick();
        StoreMapping(controller, 0, std::move(fields));
        Start();
    }
    int32_t keyboard = -1;
    int32_t pad = -1;
};

TEST_F(GetKeysTest, KeyboardLayoutComposesTheHostsWord) {
    StartWithKeyboardOn(0);
    fake.SetKey(keyboard, kDikUp, true);
    fake.SetKey(keyboard, kDikDown, true);
    EXPECT_EQ(plugin.Poll(0), (ButtonState{0, 0, -64}));
    fake.SetKey(keyboard, kDikUp, false);
    fake.SetKey(keyboard, kDikDown, false);
    for (int key : {kDikHome, kDikLShift, kDikA}) fake.SetKey(keyboard, key, true);
    EXPECT_EQ(plugin.Poll(0), (ButtonState{0x1088, 0, 0}));
    // Unmapped controllers stay idle while the keyboard is busy.
    EXPECT_EQ(plugin.Poll(1), kIdle);
}

TEST_F(GetKeysTest, JoystickAxisSelectorsDriveTheStick) {
    StartWithJoystickOn(2, {{"StickLeftRight", 1}, {"StickUpDown", 7}, {"ButtonStart", 8}});
    fake.SetAxis(pad, 0, -64);
    fake.SetAxis(pad, 1, 40);
    fake.SetButton(pad, 8, true);
    EXPECT_EQ(plugin.Poll(2), (ButtonState{ButtonBit::Start, 64, 0}));
}

TEST_F(GetKeysTest, JoystickStickButtonsWithBothHeldPushDown) {
    StartWithJoystickOn(0, {{"StickUpDown", 6}, {"StickLeftRight", -1}, {"StickUp", 2}, {"StickDown", 3}});
    fake.SetButton(pad, 2, true);
    fake.SetButton(pad, 3, true);
    EXPECT_EQ(plugin.Poll(0).stickY, -64);
    EXPECT_EQ(plugin.Poll(0).stickX, 0);
    EXPECT_GE(fake.Calls(FAKEDI_CALL_POLL, pad), 2) << "joysticks are polled before each read";
}

TEST_F(GetKeysTest, ControllerNumbersOutsideTheFourGiveAZeroWord) {
    StartWithKeyboardOn(0);
    fake.SetKey(keyboard, kDikA, true);
    EXPECT_EQ(plugin.Poll(4), kIdle);
    EXPECT_EQ(plugin.Poll(-1), kIdle);
    EXPECT_EQ(plugin.Poll(INT32_MIN), kIdle);
    EXPECT_EQ(fake.Calls(FAKEDI_CALL_GET_DEVICE_STATE), 0);
}

TEST_F(GetKeysTest, NullWordPointerDoesNothingAtAll) {
    StartWithKeyboardOn(0);
    plugin.GetKeys(0, nullptr);
    EXPECT_EQ(fake.Counters().enumerations, 0);
}

TEST_F(GetKeysTest, MappingBeyondTheDevicesFoundGivesAZeroWord) {
    fake.AddKeyboard();
    fake.AddJoystick();
    StoreMapping(0, 19);
    StoreMapping(1, 57);
    StoreMapping(2, -7);
    Start();
    for (int controller : {0, 1, 2}) EXPECT_EQ(plugin.Poll(controller), kIdle);
}

TEST_F(GetKeysTest, LostDeviceIsReacquiredAndReadInTheSamePoll) {
    StartWithKeyboardOn(0);
    fake.SetKey(keyboard, kDikA, true);
    plugin.Poll(0);
    const int32_t acquires = fake.Counters().acquireCalls;
    fake.Fail(FAKEDI_CALL_GET_DEVICE_STATE, DIERR_INPUTLOST, 1);
    EXPECT_EQ(plugin.Poll(0).buttons, ButtonBit::TriggerLeft);
    EXPECT_EQ(fake.Counters().acquireCalls, acquires + 1);
    fake.Fail(FAKEDI_CALL_GET_DEVICE_STATE, DIERR_NOTACQUIRED, 1);
    EXPECT_EQ(plugin.Poll(0).buttons, ButtonBit::TriggerLeft);
}

TEST_F(GetKeysTest, DeviceThatCannotBeReacquiredGivesAZeroWordPromptly) {
    StartWithJoystickOn(0, {{"ButtonA", 0}});
    fake.SetButton(pad, 0, true);
    fake.SetAxis(pad, 0, 30);
    plugin.Poll(0);
    fake.Fail(FAKEDI_CALL_GET_DEVICE_STATE, DIERR_INPUTLOST);
    fake.Fail(FAKEDI_CALL_ACQUIRE, DIERR_GENERIC);
    const int32_t before = fake.Counters().acquireCalls;
    for (int i = 0; i < 100; ++i) ASSERT_EQ(plugin.Poll(0), kIdle);
    const int32_t perPoll = (fake.Counters().acquireCalls - before) / 100;
    EXPECT_GE(perPoll, 1);
    EXPECT_LE(perPoll, 5);
}

TEST_F(GetKeysTest, AccessDeniedStopsRetryingAndReadsAsReleased) {
    StartWithKeyboardOn(0);
    fake.SetKey(keyboard, kDikA, true);
    plugin.Poll(0);
    fake.Fail(FAKEDI_CALL_GET_DEVICE_STATE, DIERR_NOTACQUIRED);
    fake.Fail(FAKEDI_CALL_ACQUIRE, E_ACCESSDENIED);
    const int32_t reads = fake.Calls(FAKEDI_CALL_GET_DEVICE_STATE);
    EXPECT_EQ(plugin.Poll(0), kIdle);
    EXPECT_EQ(fake.Calls(FAKEDI_CALL_GET_DEVICE_STATE), reads + 1);
    fake.ClearFaults();
    EXPECT_EQ(plugin.Poll(0).buttons, ButtonBit::TriggerLeft);
}

TEST_F(GetKeysTest, UnpluggedJoystickReadsIdleAndComesBack) {
    StartWithJoystickOn(0, {{"ButtonA", 1}});
    fake.SetButton(pad, 1, true);
    EXPECT_EQ(plugin.Poll(0).buttons, ButtonBit::A);
    fake.SetAttached(pad, false);
    EXPECT_EQ(plugin.Poll(0), kIdle);
    fake.SetAttached(pad, true);
    EXPECT_EQ(plugin.Poll(0).buttons, ButtonBit::A);
}

// A read that fails leaves nothing to compose from; a hat read as 0 would hold the D-pad up.
TEST_F(GetKeysTest, PadWithThePadLayoutThatCannotBeReadReadsIdle) {
    pad = fake.AddJoystick();
    fake.SetJoystickObjects(pad, 0xFF, 1);
    ControllerConfig record{};
    ApplyPadDefaults(record, 0);
    TestRegistry::WriteRecord("Controller0", record);
    Start();
    fake.SetButton(pad, 0, true);
    EXPECT_EQ(plugin.Poll(0), (ButtonState{ButtonBit::A, 0, 0}));
    fake.SetAttached(pad, false);  // unplugged, or gone to sleep
    EXPECT_EQ(plugin.Poll(0), kIdle);
    fake.SetAttached(pad, true);
    fake.Fail(FAKEDI_CALL_GET_DEVICE_STATE, DIERR_NOTACQUIRED);  // held exclusively by another program
    fake.Fail(FAKEDI_CALL_ACQUIRE, DIERR_OTHERAPPHASPRIO);
    EXPECT_EQ(plugin.Poll(0), kIdle);
}

TEST_F(GetKeysTest, PadMappedThroughAxisAndHatDirectionsComesBackAfterBeingUnplugged) {
    pad = fake.AddJoystick();
    fake.SetJoystickObjects(pad, 0xFF, 1);
    StoreMapping(0, 0, {{"ButtonUp", 1041}, {"PadLeft", 2003}, {"TriggerZ", 1021}});  // Ry+, hat 0 left, Z+
    Start();
    fake.SetAxis(pad, 4, 60);
    fake.SetPov(pad, 0, 27000);
    const ButtonState pressed{ButtonBit::CUp | ButtonBit::PadLeft, 0, 0};
    EXPECT_EQ(plugin.Poll(0), pressed);
    fake.SetAttached(pad, false);
    for (int poll = 0; poll < 3; ++poll) EXPECT_EQ(plugin.Poll(0), kIdle);
    fake.SetAttached(pad, true);
    EXPECT_EQ(plugin.Poll(0), pressed);
    int32_t minimum = 0, maximum = 0;  // every axis a mapping can use reads in the stick's range
    ASSERT_TRUE(fake.Range(pad, 7 * 4, minimum, maximum));
    EXPECT_EQ(maximum, 64);
}

TEST_F(GetKeysTest, ControllerFollowsItsOwnPadByIdentityAndTunesOnlyThat) {
    fake.AddKeyboard();
    const int32_t first = fake.AddJoystick("First");
    const int32_t own = fake.AddJoystick("Own");  // the fake's instance of device 2
    const int32_t other = fake.AddJoystick("Other");
    StoreMapping(0, 1, {{"ButtonA", 3}, {"DeadZone", 10}, {"Range", 100}});  // slot 1 when it was saved
    TestRegistry::WriteRaw("Controller0", "DeviceGuid", "{7A710002-D1A0-11EF-8000-544156494B49}");
    StoreMapping(1, 1, {{"ButtonA", 3}});  // no identity stored: the slot number, as always
    Start();
    fake.SetButton(own, 3, true);
    EXPECT_EQ(plugin.Poll(0).buttons, ButtonBit::A);
    EXPECT_EQ(plugin.Poll(1).buttons, 0);
    int32_t minimum = 0, maximum = 0;
    ASSERT_TRUE(fake.Range(own, 2 * 4, minimum, maximum));
    EXPECT_EQ(maximum, 100);
    EXPECT_EQ(fake.DeadZone(own, 0), 1000);
    ASSERT_TRUE(fake.Range(first, 2 * 4, minimum, maximum));
    EXPECT_EQ(maximum, 64);
    EXPECT_EQ(fake.DeadZone(first, 0), -1);

    // Its pad gone, the controller reads idle rather than whatever took its slot.
    fake.SetButton(first, 3, true);
    fake.SetButton(other, 3, true);
    plugin.RomClosed();
    fake.SetAttached(own, false);
    EXPECT_EQ(plugin.Poll(0), kIdle);
    EXPECT_EQ(plugin.Poll(1).buttons, ButtonBit::A);
}

}  // namespace
