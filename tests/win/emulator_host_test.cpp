// The plug-in inside an emulator-like host: an emulation thread polls the four controllers while
// the test thread, as the host's window thread, opens the dialogs, closes and reopens the ROM and
// unloads the plug-in. Joysticks and faults come from the fake DirectInput.
#include "config/xinput_device.h"
#include "dialog_fixture.h"
#include "emulation_thread.h"
#include "fake_xinput.h"
#include "watchdog.h"

#include <algorithm>
#include <cstdio>

namespace {

constexpr const char* kRangeYError = "SetProperty(DIPH_RANGE_Y) : Joystick";

class EmulatorHostTest : public PluginTest {
protected:
    // A joystick whose Y range cannot be set: every table build meets it.
    int32_t AddBrokenJoystick() {
        const int32_t broken = fake.AddJoystick("Broken");
        fake.Fail(FAKEDI_CALL_SET_PROPERTY, E_FAIL, -1, broken, 4 /* Y */);
        return broken;
    }
};

TEST_F(EmulatorHostTest, DialogsRomChangesAndUnloadWhileTheEmulationThreadPolls) {
    constexpr int kRounds = 100;
    ExtendWatchdog(140);  // about 20 s, and more on a busy machine
    const int32_t keyboard = fake.AddKeyboard();
    const int32_t pad = fake.AddJoystick("Pad");
    AddBrokenJoystick();
    StoreMapping(0, 0);
    StoreMapping(1, 1, {{"ButtonA", 0}, {"StickUpDown", 7}, {"StickLeftRight", 7}});
    Start();
    plugin.RomOpen();
    fake.SetKey(keyboard, 0x2A, true);
    fake.SetButton(pad, 0, true);

    EmulationThread emulation(plugin);
    ASSERT_TRUE(emulation.WaitFrames(2));
    const DialogRounds dialogs = OpenConfigureAndTestWhilePolling(plugin, window.Handle(), emulation, kRounds);
    EXPECT_EQ(dialogs.closed, 2 * kRounds);
    ASSERT_TRUE(emulation.WaitFrames(2));
    EXPECT_EQ(emulation.Last(0).buttons, ButtonBit::A);
    EXPECT_EQ(emulation.Last(1).buttons, ButtonBit::A);

    plugin.RomClosed();
    plugin.RomOpen();  // a new game: the broken joystick is reported once more
    ASSERT_TRUE(boxes.WaitForCount(2));
    ASSERT_TRUE(emulation.WaitFrames(2));
    EXPECT_EQ(emulation.Last(1).buttons, ButtonBit::A);
    plugin.RomClosed();
    plugin.CloseDLL();
    ASSERT_TRUE(emulation.Stop());
    plugin.Unload();

    EXPECT_EQ(boxes.Texts(), (std::vector<std::string>{kRangeYError, kRangeYError}));
    EXPECT_LT(emulation.LongestPollMs(), 5000u);
    const FakeDiCounters counters = fake.Counters();
    EXPECT_EQ(counters.liveObjects, 0);
    EXPECT_EQ(counters.acquiredNow, 0);
    std::printf("%d of %d dialogs opened while polling; %d frames; %zu boxes; longest poll %lu ms\n",
                dialogs.openedWhilePolling, 2 * kRounds, static_cast<int>(emulation.Frames()), boxes.Boxes().size(),
                static_cast<unsigned long>(emulation.LongestPollMs()));
}

TEST_F(EmulatorHostTest, XInputPadPluggedInWhileTheWindowThreadOpensTheDialogsPlaysWithinTwoSeconds) {
    ExtendWatchdog(60);
    FakeXInput pads;
    pads.SetEmptyAskDelay(20);  // asking an empty slot is slow on Windows
    fake.AddKeyboard();
    ControllerConfig record{};
    ApplyPadDefaults(record, XInputDeviceOf(0));
    TestRegistry::WriteRecord("Controller0", record);
    Start();
    plugin.RomOpen();
    EmulationThread emulation(plugin);
    ASSERT_TRUE(emulation.WaitFrames(2));
    EXPECT_EQ(OpenConfigureAndTestWhilePolling(plugin, window.Handle(), emulation, 5).closed, 10);
    pads.Set(0, {XInputButton::A, 0, 0, 0, 0, 0, 0});
    pads.SetConnected(0, true);
    const ULONGLONG plugged = GetTickCount64();
    EXPECT_EQ(OpenConfigureAndTestWhilePolling(plugin, window.Handle(), emulation, 5).closed, 10);
    EXPECT_TRUE(WaitUntil([&] { return emulation.Last(0).buttons == ButtonBit::A; }, 2500));
    const ULONGLONG found = GetTickCount64() - plugged;
    plugin.RomClosed();
    plugin.CloseDLL();
    ASSERT_TRUE(emulation.Stop());
    plugin.Unload();
    EXPECT_EQ(pads.EmptyAsks(0, emulation.ThreadId()), 0) << "the poll asked the empty slot itself";
    EXPECT_TRUE(boxes.Boxes().empty());
    std::printf("pad found %llu ms after it was plugged in; %d frames; longest poll %lu ms\n", found,
                static_cast<int>(emulation.Frames()), static_cast<unsigned long>(emulation.LongestPollMs()));
}

TEST_F(EmulatorHostTest, TableRebuiltAfterDialogsAndForAPadPluggedInWhileTheEmulationThreadPolls) {
    constexpr int kEnumerationMs = 200;  // a slow driver's, or Wine's
    ExtendWatchdog(60);
    const int32_t keyboard = fake.AddKeyboard();
    StoreMapping(0, 0);
    StoreMapping(1, 1, {{"ButtonA", 0}, {"StickUpDown", 7}, {"StickLeftRight", 7}});  // the pad to come
    Start();
    plugin.RomOpen();
    fake.SetKey(keyboard, 0x2A, true);
    fake.SetEnumerationDelay(kEnumerationMs);

    EmulationThread emulation(plugin);
    ASSERT_TRUE(emulation.WaitFrames(2));
    const DialogRounds dialogs = OpenConfigureAndTestWhilePolling(plugin, window.Handle(), emulation, 3);
    EXPECT_EQ(dialogs.closed, 6);
    ASSERT_TRUE(emulation.Stop());  // the game paused, long enough for the look at the pads to pause too
    Sleep(3000);
    EmulationThread resumed(plugin);
    const int32_t late = fake.AddJoystick("Late pad");
    fake.SetButton(late, 0, true);
    const ULONGLONG plugged = GetTickCount64();
    EXPECT_TRUE(WaitUntil([&] { return resumed.Last(1).buttons == ButtonBit::A; }, 8000)) << "no ROM change needed";
    const ULONGLONG found = GetTickCount64() - plugged;
    EXPECT_EQ(resumed.Last(0).buttons, ButtonBit::A);
    plugin.RomClosed();
    plugin.CloseDLL();
    ASSERT_TRUE(resumed.Stop());
    plugin.Unload();

    EXPECT_TRUE(boxes.Boxes().empty());
    EXPECT_EQ(fake.Counters().liveObjects, 0);
    const uint64_t longest = std::max(emulation.LongestPollMicroseconds(), resumed.LongestPollMicroseconds());
    std::printf("longest poll %.2f ms, enumerations taking %d ms; pad plugged in found after %lu ms\n",
                longest / 1000.0, kEnumerationMs, static_cast<unsigned long>(found));
}

TEST_F(EmulatorHostTest, BoxOfTheEmulationThreadNeverWaitsForTheWindowThread) {
    AddBrokenJoystick();
    Start();
    EmulationThread emulation(plugin);
    // The window thread waits for its emulation thread without pumping its own messages.
    EXPECT_TRUE(emulation.WaitFrames(3, 2500)) << "the poll's box waited for the window thread";
    PumpMessages();
    ASSERT_TRUE(emulation.Stop());
    ASSERT_EQ(boxes.Texts(), (std::vector<std::string>{kRangeYError, "No device found"}));
    for (const CaughtBox& box : boxes.Boxes()) EXPECT_EQ(box.owner, nullptr) << box.text;
}

// A host that polls from a timer of its window thread: a box's message loop runs that timer.
const PluginApi* timerPlugin = nullptr;
int nestedPolls = 0;
int nestedNonIdle = 0;
void CALLBACK PollFromTimer(HWND, UINT, UINT_PTR, DWORD) {
    if (nestedPolls >= 20) return;  // enough to show it, and bounded when it goes wrong
    ++nestedPolls;
    if (!(timerPlugin->Poll(nestedPolls % 4) == kIdle)) ++nestedNonIdle;
}

TEST_F(EmulatorHostTest, PollFromATimerInsideABoxOfDeviceCreationReadsIdleAtOnce) {
    const int32_t keyboard = fake.AddKeyboard();
    AddBrokenJoystick();
    StoreMapping(0, 0);
    Start();
    fake.SetKey(keyboard, 0x2A, true);
    boxes.HoldBoxesFor(200);
    timerPlugin = &plugin;
    nestedPolls = nestedNonIdle = 0;
    const UINT_PTR timer = SetTimer(nullptr, 0, 10, PollFromTimer);
    const ButtonState first = plugin.Poll(0);
    KillTimer(nullptr, timer);
    EXPECT_GT(nestedPolls, 0) << "the timer never ran inside the box";
    EXPECT_EQ(nestedNonIdle, 0);
    EXPECT_EQ(boxes.Texts(), std::vector<std::string>{kRangeYError});
    EXPECT_EQ(first.buttons, ButtonBit::A);
    EXPECT_EQ(plugin.Poll(0).buttons, ButtonBit::A);
    EXPECT_EQ(fake.Counters().enumerations, 2);
}

}  // namespace

namespace {

TEST_F(EmulatorHostTest, RumblePakAnswersTheGameAndItsMotorFollowsWhileTheWindowThreadOpensDialogs) {
    ExtendWatchdog(60);
    const int32_t keyboard = fake.AddKeyboard();
    const int32_t pad = fake.AddJoystick("Pad");
    fake.SetForceFeedback(pad, true);
    StoreMapping(0, keyboard);
    StoreMapping(1, pad, {{"Pak", 2}, {"ButtonA", 0}, {"StickUpDown", 7}, {"StickLeftRight", 7}});
    Start();
    plugin.RomOpen();
    fake.SetButton(pad, 0, true);

    EmulationThread emulation(plugin, 1);
    ASSERT_TRUE(emulation.WaitFrames(6));
    emulation.SetMotor(true);
    ASSERT_TRUE(emulation.WaitFrames(2));
    EXPECT_EQ(fake.Effects(pad).playing, 1);
    const DialogRounds dialogs = OpenConfigureAndTestWhilePolling(plugin, window.Handle(), emulation, 20);
    EXPECT_EQ(dialogs.closed, 40);
    ASSERT_TRUE(emulation.WaitFrames(2));
    EXPECT_EQ(fake.Effects(pad).playing, 1) << "each table built afresh gets the motor the game keeps on";
    emulation.SetMotor(false);
    ASSERT_TRUE(emulation.WaitFrames(2));
    EXPECT_EQ(fake.Effects(pad).playing, 0);

    // The player takes the rumble pak out while the game keeps the motor on: it stops.
    emulation.SetMotor(true);
    ASSERT_TRUE(emulation.WaitFrames(2));
    EXPECT_EQ(fake.Effects(pad).playing, 1);
    {
        ModalRun run([&] { plugin.DllConfig(window.Handle()); });
        HWND config = Dialogs::Find("Tavik_Di Plugin Configuration");
        ASSERT_NE(config, nullptr);
        Dialogs::Choose(config, IDC_CONTROLLER_LIST, 1);
        Dialogs::Click(config, IDC_PAK);
        HWND pak = Dialogs::Find("Tavik_Di - Pak of N64 Controller 2");
        ASSERT_NE(pak, nullptr);
        Dialogs::Choose(pak, IDC_PAK_LIST, 0);
    }
    ASSERT_TRUE(emulation.WaitFrames(2));
    EXPECT_EQ(fake.Effects(pad).playing, 0);

    plugin.RomClosed();
    plugin.CloseDLL();
    ASSERT_TRUE(emulation.Stop());
    plugin.Unload();
    EXPECT_EQ(emulation.WrongReplies(), 0);
    EXPECT_EQ(emulation.Last(1).buttons, ButtonBit::A);
    EXPECT_TRUE(boxes.Boxes().empty());
    EXPECT_EQ(fake.Counters().liveObjects, 0);
}

}  // namespace
