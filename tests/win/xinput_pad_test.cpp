// XInput pads through the exports, over the fake xinput1_4.dll: the pad layout with the triggers
// apart, the controller's tuning, a pad unplugged and plugged back during a game, and a rumble pak
// shaking the pad.
#include "emulation_thread.h"
#include "fake_xinput.h"
#include "joybus_host.h"
#include "plugin_fixture.h"
#include "watchdog.h"

#include "config/joystick_codes.h"

#include <cstdio>
#include "config/xinput_device.h"

namespace {

class XInputPadTest : public PluginTest {
protected:
    // Controller `controller` on XInput pad `pad` with the pad layout and `tuning` over it.
    static void StorePadLayout(int controller, int32_t pad, int32_t deadZone = 0, int32_t range = 64) {
        ControllerConfig record{};
        ApplyPadDefaults(record, XInputDeviceOf(pad));
        record.DeadZone = deadZone;
        record.Range = range;
        TestRegistry::WriteRecord("Controller" + std::to_string(controller), record);
    }
    // The pad is looked for off the poll, so its first polls may read idle.
    bool PollsAs(int controller, const ButtonState& expected) {
        return WaitUntil([&] { return plugin.Poll(controller) == expected; }, 3000);
    }

    FakeXInput pads;
};

TEST_F(XInputPadTest, PadLayoutPlaysWithTheTriggersApartAndTheControllersTuning) {
    StorePadLayout(0, 1);
    StorePadLayout(1, 2, 10, 100);
    TestRegistry::WriteNumber("Controller1", "TriggerLeft", AxisCode(JoystickAxisRz, true));  // the right trigger
    fake.AddKeyboard();
    pads.SetConnected(1, true);
    pads.SetConnected(2, true);
    Start();
    pads.Set(1, {XInputButton::A | XInputButton::Start | XInputButton::DPadLeft, 255, 0, 32767, -32768, 0, 32767});
    EXPECT_TRUE(PollsAs(0, {ButtonBit::A | ButtonBit::Start | ButtonBit::PadLeft | ButtonBit::TriggerZ | ButtonBit::CUp,
                            64, -64}));
    EXPECT_EQ(plugin.Poll(2), kIdle);  // another controller is left alone

    // Both triggers at once: each plays its own button. Inside the dead zone the stick rests.
    pads.Set(2, {0, 255, 255, 3000, 0, 0, 0});
    EXPECT_TRUE(PollsAs(1, {ButtonBit::TriggerZ | ButtonBit::TriggerLeft, 0, 0}));
    pads.Set(2, {0, 0, 0, -32768, 32767, 0, 0});
    EXPECT_EQ(plugin.Poll(1), (ButtonState{0, -100, 100}));
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(XInputPadTest, UnpluggedPadReadsIdleIsLookedForOffThePollAndPlaysWhenBack) {
    StorePadLayout(0, 0);
    StorePadLayout(1, 3);  // never plugged in
    fake.AddKeyboard();
    pads.SetEmptyAskDelay(20);  // asking an empty slot is slow on Windows
    pads.SetConnected(0, true);
    pads.Set(0, {XInputButton::A, 0, 0, 0, 0, 0, 0});
    Start();
    plugin.RomOpen();
    EmulationThread emulation(plugin);
    ASSERT_TRUE(WaitUntil([&] { return emulation.Last(0).buttons == ButtonBit::A; }));

    pads.SetConnected(0, false);
    ASSERT_TRUE(WaitUntil([&] { return emulation.Last(0) == kIdle; }));
    const ULONGLONG unplugged = GetTickCount64();
    Sleep(ScaledWait(2500));
    const double seconds = double(GetTickCount64() - unplugged) / 1000.0;
    // The poll that found the pad gone asked once; after that only the watcher asks, once a second.
    EXPECT_LE(pads.EmptyAsks(0, emulation.ThreadId()), 1);
    EXPECT_LE(pads.EmptyAsks(0), seconds + 2);
    EXPECT_GE(pads.EmptyAsks(0), 2);
    EXPECT_EQ(pads.EmptyAsks(3, emulation.ThreadId()), 0);
    EXPECT_LE(pads.EmptyAsks(3), seconds + 2);

    pads.SetConnected(0, true);
    EXPECT_TRUE(WaitUntil([&] { return emulation.Last(0).buttons == ButtonBit::A; }, 2500));
    plugin.RomClosed();
    plugin.CloseDLL();
    ASSERT_TRUE(emulation.Stop());
    std::printf("longest poll %lu ms (one ask of the empty slot takes 20 ms)\n",
                static_cast<unsigned long>(emulation.LongestPollMs()));
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(XInputPadTest, RumblePakDrivesBothMotorsAtTheStrengthOnlyWhenTheLevelChangesAndStopsWithTheRom) {
    StorePadLayout(0, 2);
    TestRegistry::WriteNumber("Controller0", "Pak", PakRumble);
    TestRegistry::WriteNumber("Controller0", "RumbleStrength", 50);
    fake.AddKeyboard();
    pads.SetConnected(2, true);
    Start();
    plugin.RomOpen();
    const auto writeMotor = [&](uint8_t level) {
        JoybusBlock block = JoybusBlock::PakWrite(kMotorAddress, level);
        RunPasses(plugin, 0, block);
    };
    uint16_t left = 1, right = 1;
    writeMotor(0);
    EXPECT_EQ(pads.Vibration(2, left, right), 0) << "a motor never on is never touched";
    writeMotor(1);
    EXPECT_EQ(pads.Vibration(2, left, right), 1);
    EXPECT_EQ(left, 32767);
    EXPECT_EQ(right, 32767);
    for (int repeat = 0; repeat < 3; ++repeat) writeMotor(0);  // games repeat "off" every frame
    EXPECT_EQ(pads.Vibration(2, left, right), 2);
    EXPECT_EQ(left, 0);
    writeMotor(1);
    plugin.RomClosed();
    EXPECT_EQ(pads.Vibration(2, left, right), 4);
    EXPECT_EQ(left + right, 0) << "still shaking after the ROM closed";
    EXPECT_TRUE(boxes.Boxes().empty());
}

}  // namespace
