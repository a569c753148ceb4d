// Enumeration, set-up and release of the device table, seen through polls and the fake's records.
#include "plugin_fixture.h"
#include "watchdog.h"

namespace {

class DeviceTableTest : public PluginTest {
protected:
    // Maps controller `controller` to slot `slot` as a joystick whose button 0 is A.
    static void StoreJoystickMapping(int controller, int slot) {
        StoreMapping(controller, slot, {{"ButtonA", 0}, {"StickUpDown", 7}, {"StickLeftRight", 7}});
    }
    // Whether the controller's word shows button A while `device`'s button 0 is held.
    bool ReadsDevice(int controller, int32_t device) {
        fake.SetButton(device, 0, true);
        const bool pressed = plugin.Poll(controller).buttons == ButtonBit::A;
        fake.SetButton(device, 0, false);
        return pressed;
    }
};

TEST_F(DeviceTableTest, KeyboardsComeFirstThenJoysticksInEnumerationOrder) {
    const int32_t pad1 = fake.AddJoystick("Pad one");
    const int32_t keyboard = fake.AddKeyboard();
    const int32_t pad2 = fake.AddJoystick("Pad two");
    StoreMapping(0, 0);
    StoreJoystickMapping(1, 1);
    StoreJoystickMapping(2, 2);
    Start();
    fake.SetKey(keyboard, 0x2A, true);  // left shift: A in the keyboard layout
    EXPECT_EQ(plugin.Poll(0).buttons, ButtonBit::A);
    EXPECT_TRUE(ReadsDevice(1, pad1));
    EXPECT_TRUE(ReadsDevice(2, pad2));
    EXPECT_FALSE(ReadsDevice(1, pad2));
    EXPECT_EQ(plugin.Poll(3), kIdle);
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(DeviceTableTest, TableHoldsTwentyDevicesAndKeyboardsAreNeverCrowdedOut) {
    int32_t pads[21];
    for (int32_t& pad : pads) pad = fake.AddJoystick();
    const int32_t keyboard = fake.AddKeyboard();
    StoreMapping(0, 0);
    StoreJoystickMapping(1, 19);
    Start();
    fake.SetKey(keyboard, 0x2A, true);
    EXPECT_EQ(plugin.Poll(0).buttons, ButtonBit::A);
    EXPECT_TRUE(ReadsDevice(1, pads[18]));
    EXPECT_FALSE(ReadsDevice(1, pads[19]));
    EXPECT_EQ(fake.Counters().devicesCreated, 20);
    EXPECT_EQ(fake.Calls(FAKEDI_CALL_CREATE_DEVICE, pads[20]), 0);
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(DeviceTableTest, JoystickWhoseRangeFailsIsLeftOutWithOneBox) {
    const int32_t keyboard = fake.AddKeyboard();
    const int32_t broken = fake.AddJoystick("Broken");
    const int32_t good = fake.AddJoystick("Good");
    fake.Fail(FAKEDI_CALL_SET_PROPERTY, DIERR_INVALIDPARAM, -1, broken, 4 /* Y */);
    StoreJoystickMapping(0, 1);
    Start();
    EXPECT_TRUE(ReadsDevice(0, good));
    const auto caught = boxes.Boxes();
    ASSERT_EQ(caught.size(), 1u);
    EXPECT_EQ(caught[0].text, "SetProperty(DIPH_RANGE_Y) : Joystick");
    EXPECT_EQ(caught[0].caption, "Tavik_DI Error!");
    EXPECT_EQ(caught[0].owner, window.Handle());
    EXPECT_EQ(fake.Counters().liveDevices, 2);  // the broken one was released
    (void)keyboard;
}

TEST_F(DeviceTableTest, EverySetUpStepIsTriedAndEachFailureHasItsOwnBox) {
    const int32_t keyboard = fake.AddKeyboard();
    const int32_t pad = fake.AddJoystick();
    fake.Fail(FAKEDI_CALL_SET_DATA_FORMAT, E_FAIL, -1, keyboard);
    fake.Fail(FAKEDI_CALL_SET_COOPERATIVE_LEVEL, E_FAIL, -1, keyboard);
    fake.Fail(FAKEDI_CALL_SET_PROPERTY, E_FAIL, -1, pad);
    Start();
    plugin.Poll(0);
    EXPECT_EQ(boxes.Texts(), (std::vector<std::string>{
                                 "SetDataFormat : Keyboard", "SetCooperativeLevel : Keyboard",
                                 "SetProperty(DIPH_RANGE_X) : Joystick", "SetProperty(DIPH_RANGE_Y) : Joystick",
                                 "No device found"}));
    EXPECT_EQ(fake.Counters().liveDevices, 0);
}

TEST_F(DeviceTableTest, DeviceThatCannotBeCreatedIsReportedAndSkipped) {
    fake.AddKeyboard();
    const int32_t pad = fake.AddJoystick();
    fake.Fail(FAKEDI_CALL_CREATE_DEVICE, DIERR_DEVICENOTREG, -1, pad);
    Start();
    plugin.Poll(0);
    EXPECT_EQ(boxes.Texts(), std::vector<std::string>{"CreateDevice : Joystick"});
}

TEST_F(DeviceTableTest, FailedDirectInputIsReportedOnceAndTriedAgainOnlyAtTheNextRomOpen) {
    fake.AddKeyboard();
    fake.Fail(FAKEDI_CALL_CREATE, DIERR_GENERIC);
    StoreMapping(0, 0);
    Start();
    for (int poll = 0; poll < 100; ++poll) ASSERT_EQ(plugin.Poll(poll % 4), kIdle);
    EXPECT_EQ(boxes.Texts(), std::vector<std::string>{"DirectInputCreate - couldn't initialize..."});
    EXPECT_EQ(boxes.Boxes()[0].caption, "Tavik_DI Error!");
    EXPECT_EQ(fake.Calls(FAKEDI_CALL_CREATE), 1);

    plugin.RomOpen();  // a new game tries once more, and says so again
    plugin.Poll(0);
    EXPECT_EQ(fake.Calls(FAKEDI_CALL_CREATE), 2);
    EXPECT_EQ(boxes.Boxes().size(), 2u);

    fake.ClearFaults();
    plugin.Poll(0);
    EXPECT_EQ(fake.Calls(FAKEDI_CALL_CREATE), 2);
    plugin.RomOpen();
    fake.SetKey(0, 0x2A, true);
    EXPECT_EQ(plugin.Poll(0).buttons, ButtonBit::A);
    EXPECT_EQ(fake.Counters().directInputsCreated, 1);
    EXPECT_EQ(boxes.Boxes().size(), 2u);
}

TEST_F(DeviceTableTest, EachDeviceErrorIsShownOncePerGame) {
    fake.AddJoystick();
    fake.Fail(FAKEDI_CALL_SET_PROPERTY, E_FAIL, -1, 0, 4 /* Y */);
    StoreJoystickMapping(0, 0);  // the pad to come
    Start();
    plugin.Poll(0);
    plugin.Poll(1);
    plugin.RomOpen();
    const std::vector<std::string> once{"SetProperty(DIPH_RANGE_Y) : Joystick", "No device found"};
    EXPECT_EQ(boxes.Texts(), once);
    EXPECT_EQ(boxes.Boxes()[1].caption, "Tavik_DI");
    plugin.RomClosed();
    plugin.RomOpen();  // built again, off the polls, for the new game: said again
    ASSERT_TRUE(boxes.WaitForCount(4));
    const int32_t late = fake.AddJoystick("Late pad");  // built again in the same game: not
    EXPECT_TRUE(WaitUntil([&] { return ReadsDevice(0, late); }));
    EXPECT_EQ(boxes.Texts().size(), 4u);
}

TEST_F(DeviceTableTest, JoysticksGetTheStickRangeOnXYAndZ) {
    const int32_t pad = fake.AddJoystick("Pad", true);
    const int32_t noZ = fake.AddJoystick("Pad without Z", false);
    Start();
    plugin.RomOpen();
    for (int32_t offset : {0, 4, 8}) {
        int32_t minimum = 0, maximum = 0;
        ASSERT_TRUE(fake.Range(pad, offset, minimum, maximum)) << "offset " << offset;
        EXPECT_EQ(minimum, -64);
        EXPECT_EQ(maximum, 64);
    }
    int32_t minimum = 0, maximum = 0;
    EXPECT_FALSE(fake.Range(noZ, 8, minimum, maximum));
    // A pad without Z keeps its slot, and nothing is said about it.
    EXPECT_EQ(fake.Counters().liveDevices, 2);
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(DeviceTableTest, KeyboardReadsInTheForegroundAndJoysticksInTheBackground) {
    const int32_t keyboard = fake.AddKeyboard();
    const int32_t pad = fake.AddJoystick();
    Start();
    plugin.RomOpen();
    HWND owner = nullptr;
    EXPECT_EQ(fake.CooperativeFlags(keyboard, &owner), DISCL_NONEXCLUSIVE | DISCL_FOREGROUND);
    EXPECT_EQ(owner, window.Handle());
    EXPECT_EQ(fake.CooperativeFlags(pad, &owner), DISCL_NONEXCLUSIVE | DISCL_BACKGROUND);
    EXPECT_EQ(owner, window.Handle());
}

}  // namespace
