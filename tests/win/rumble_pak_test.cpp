// A controller with a rumble pak, through the exports: what the host is told, the game's detection
// and motor commands in the emulators' call order, and the pad's force feedback (the fake's).
#include "joybus_host.h"
#include "plugin_fixture.h"
#include "watchdog.h"

#include <cstring>

namespace {

constexpr DWORD kExclusiveBackground = DISCL_EXCLUSIVE | DISCL_BACKGROUND;

class RumblePakTest : public PluginTest {
protected:
    // A force-feedback pad read by controller 1 (channel 0) with a rumble pak; A on button 0.
    int32_t StartWithRumblePad(std::vector<std::pair<std::string, int>> fields = {}, bool forceFeedback = true) {
        const int32_t pad = fake.AddJoystick("Pad");
        fake.SetForceFeedback(pad, forceFeedback);
        fields.insert(fields.end(), {{"Pak", 2}, {"ButtonA", 0}, {"StickUpDown", 7}, {"StickLeftRight", 7}});
        StoreMapping(0, pad, fields);
        Start();
        return pad;
    }

    uint8_t Write(uint16_t address, uint8_t fill) {
        JoybusBlock block = JoybusBlock::PakWrite(address, fill);
        RunPasses(plugin, 0, block);
        return block.PakChecksum();
    }
};

TEST_F(RumblePakTest, InitiateControllersReportsEachControllersPakAndSetsItsPadUpForIt) {
    const int32_t pad = fake.AddJoystick("Pad");
    fake.SetForceFeedback(pad, true);
    for (int controller = 0; controller < 4; ++controller)
        StoreMapping(controller, controller == 1 ? pad : -1, {{"Pak", controller == 3 ? 9 : controller + 1}});
    Start(false);
    plugin.Poll(1);  // a host that polls before it describes the controllers
    EXPECT_EQ(fake.CooperativeFlags(pad), DISCL_NONEXCLUSIVE | DISCL_BACKGROUND);
    ControlSlot slots[4];
    std::memset(slots, 0xCC, sizeof slots);
    plugin.InitiateControllers(window.Handle(), slots);
    const ControlSlot expected[4] = {{1, 0, 2}, {1, 1, 5}, {1, 0, 4}, {1, 0, 1}};  // 9 is no pak
    EXPECT_EQ(std::memcmp(slots, expected, sizeof slots), 0);
    EXPECT_TRUE(WaitUntil([&] {  // set up afresh off the polls
        plugin.Poll(1);
        return fake.CooperativeFlags(pad) == static_cast<int32_t>(kExclusiveBackground);
    }));
}

TEST_F(RumblePakTest, GameDetectsThePakAndTheMotorShakesThePadAtItsStrengthUntilTheRomCloses) {
    const int32_t pad = StartWithRumblePad({{"RumbleStrength", 50}});
    fake.SetButton(pad, 0, true);
    plugin.RomOpen();
    EXPECT_EQ(fake.CooperativeFlags(pad), static_cast<int32_t>(kExclusiveBackground));

    JoybusBlock identify = JoybusBlock::Identify();
    RunPasses(plugin, 0, identify);
    EXPECT_EQ((std::vector<uint8_t>(identify.bytes.begin(), identify.bytes.begin() + 7)),
              (std::vector<uint8_t>{1, 3, 0, 0x05, 0x00, 0x01, JoybusBlock::kGuard}));
    JoybusBlock state = JoybusBlock::State();
    RunPasses(plugin, 0, state);
    EXPECT_EQ(state.StateReply(), plugin.Poll(0));
    EXPECT_EQ(state.StateReply().buttons, ButtonBit::A);

    EXPECT_EQ(Write(kProbeAddress, 0x80), 0xB8);
    EXPECT_EQ(fake.Effects(pad).created, 0) << "made at the first \"on\"";

    EXPECT_EQ(Write(kMotorAddress, 0x01), 0xEB);
    FakeDiEffects effects = fake.Effects(pad);
    EXPECT_EQ(effects.created, 1);
    EXPECT_EQ(effects.playing, 1);
    EXPECT_EQ(effects.magnitude, 5000);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(Write(kMotorAddress, 0x00), 0x00);
    Write(kMotorAddress, 0x01);
    Write(kMotorAddress, 0x01);
    effects = fake.Effects(pad);
    EXPECT_EQ(effects.playing, 1);
    EXPECT_EQ(effects.starts, 2) << "started and stopped only when the level changes";
    EXPECT_EQ(effects.stops, 1);
    EXPECT_EQ(effects.created, 1);

    plugin.RomClosed();
    EXPECT_EQ(fake.Effects(pad).playing, 0);
    plugin.CloseDLL();
    plugin.Unload();
    EXPECT_EQ(fake.Counters().liveObjects, 0);
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(RumblePakTest, MotorStopsAtCloseDllAtUnloadAndFollowsTheGameAfterThePadWasLost) {
    const int32_t pad = StartWithRumblePad();
    plugin.RomOpen();
    Write(kMotorAddress, 0x01);
    plugin.CloseDLL();
    EXPECT_EQ(fake.Effects(pad).playing, 0);

    plugin.RomOpen();
    Write(kMotorAddress, 0x01);
    fake.SetAttached(pad, false);  // pulled out: nothing plays
    EXPECT_EQ(plugin.Poll(0), kIdle);
    fake.SetAttached(pad, true);
    plugin.Poll(0);  // read again once it is back
    Write(kMotorAddress, 0x00);
    Write(kMotorAddress, 0x01);
    EXPECT_EQ(fake.Effects(pad).playing, 1) << "the game's next \"on\" shakes it again";

    // A host that unloads without RomClosed or CloseDLL: the library goes once its rebuild thread
    // has let it go.
    plugin.Unload();
    EXPECT_TRUE(WaitUntil([&] { return fake.Effects(pad).playing == 0 && fake.Counters().liveObjects == 0; }));
}

TEST_F(RumblePakTest, WithoutForceFeedbackOrExclusiveAccessTheGameStillSeesItsPakAndNothingShakes) {
    const int32_t pad = StartWithRumblePad({}, false);
    plugin.RomOpen();
    EXPECT_EQ(fake.CooperativeFlags(pad), DISCL_NONEXCLUSIVE | DISCL_BACKGROUND) << "nothing to take it for";
    JoybusBlock identify = JoybusBlock::Identify();
    RunPasses(plugin, 0, identify);
    EXPECT_EQ(identify.bytes[5], 0x01);
    EXPECT_EQ(Write(kMotorAddress, 0x01), 0xEB);
    EXPECT_EQ(fake.Effects(pad).created, 0);
    plugin.RomClosed();

    // Force feedback without the exclusive level (no host window to take it with) is refused, as
    // DirectInput documents; the game goes on.
    fake.SetForceFeedback(pad, true);
    ControlSlot slots[4];
    plugin.InitiateControllers(nullptr, slots);
    ASSERT_TRUE(boxes.WaitForCount(1));
    plugin.RomOpen();
    EXPECT_EQ(Write(kMotorAddress, 0x01), 0xEB);
    const FakeDiEffects effects = fake.Effects(pad);
    EXPECT_EQ(effects.created, 1);
    EXPECT_GE(effects.refused, 1);
    EXPECT_EQ(effects.playing, 0);
}

TEST_F(RumblePakTest, BlocksThatAreNotTheRumbleControllersOrAreMalformedStayUntouched) {
    StartWithRumblePad();
    plugin.RomOpen();
    const JoybusBlock blocks[] = {JoybusBlock::Identify(), JoybusBlock::State(), JoybusBlock::PakWrite(kMotorAddress, 1)};
    for (int32_t channel : {1, 3, 4, -1, 0x7FFFFFFF}) {  // no pak, or no controller at all
        for (const JoybusBlock& original : blocks) {
            JoybusBlock block = original;
            RunPasses(plugin, channel, block);
            EXPECT_EQ(block.bytes, original.bytes) << "channel " << channel;
        }
    }
    JoybusBlock unknown = JoybusBlock::Identify();
    unknown.bytes[2] = 0x13;
    const JoybusBlock original = unknown;
    RunPasses(plugin, 0, unknown);
    EXPECT_EQ(unknown.bytes, original.bytes);
    plugin.ControllerCommand(0, nullptr);
    plugin.ReadController(0, nullptr);
    EXPECT_TRUE(boxes.Boxes().empty());
}

}  // namespace
