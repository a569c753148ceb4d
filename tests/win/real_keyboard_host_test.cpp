// The plug-in inside an emulator-like host with Wine's own DirectInput: an emulation thread polls
// while the window thread opens the dialogs, closes and reopens the ROM and unloads the plug-in.
#include "dialog_driver.h"
#include "emulation_thread.h"
#include "message_box_catcher.h"
#include "plugin_api.h"
#include "registry_fixture.h"
#include "resources/resource_ids.h"
#include "test_window.h"
#include "watchdog.h"
#include "x_keyboard.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace {

constexpr const char* kConfigCaption = "Tavik_Di Plugin Configuration";

class RealKeyboardHostTest : public testing::Test {
protected:
    void SetUp() override {
        TestRegistry::DeletePluginKey();
        TestRegistry::WriteNumber("Controller0", "DIDevice", 0);  // the system keyboard, its layout
        ASSERT_TRUE(plugin.Load());
    }
    void TearDown() override {
        XKeyboard::KeyUp("Shift_L");
        plugin.Unload();
        TestRegistry::DeletePluginKey();
    }

    MessageBoxCatcher boxes;
    TestWindow window;
    PluginApi plugin;
};

TEST_F(RealKeyboardHostTest, DialogsRomChangesAndUnloadWhileTheEmulationThreadPolls) {
    constexpr int kRounds = 100;
    ExtendWatchdog(140);  // about 25 s, and more on a busy machine
    ControlSlot slots[4];
    plugin.InitiateControllers(window.Handle(), slots);
    plugin.RomOpen();
    EmulationThread emulation(plugin);
    ASSERT_TRUE(emulation.WaitFrames(2));
    const DialogRounds dialogs = OpenConfigureAndTestWhilePolling(plugin, window.Handle(), emulation, kRounds);
    EXPECT_EQ(dialogs.closed, 2 * kRounds);
    plugin.RomClosed();
    plugin.RomOpen();

    // The keyboard still plays on the emulation thread. The new game's devices come in off its
    // polls, and a key already down when a keyboard is set up afresh reads released until it is
    // pressed again: so the key is pressed again until it is read.
    ASSERT_TRUE(window.Focus());
    ULONGLONG pressed = 0;
    EXPECT_TRUE(WaitUntil([&] {
        if (emulation.Last(0).buttons == ButtonBit::A) return true;
        if (GetTickCount64() - pressed > 500) {
            XKeyboard::KeyUp("Shift_L");
            XKeyboard::KeyDown("Shift_L");
            pressed = GetTickCount64();
        }
        return false;
    }, 5000));
    XKeyboard::KeyUp("Shift_L");

    plugin.RomClosed();
    plugin.CloseDLL();
    ASSERT_TRUE(emulation.Stop());
    plugin.Unload();
    EXPECT_TRUE(boxes.Boxes().empty());
    EXPECT_LT(emulation.LongestPollMs(), 5000u);
    std::printf("%d of %d dialogs opened while polling; %d frames; %zu boxes; longest poll %lu ms\n",
                dialogs.openedWhilePolling, 2 * kRounds, static_cast<int>(emulation.Frames()), boxes.Boxes().size(),
                static_cast<unsigned long>(emulation.LongestPollMs()));
}

TEST_F(RealKeyboardHostTest, ConfigureBeforeTheFirstGameListsTheKeyboard) {
    // No InitiateControllers yet: the host has not given its window.
    ModalRun run([this] { plugin.DllConfig(window.Handle()); });
    HWND config = Dialogs::Find(kConfigCaption);
    ASSERT_NE(config, nullptr);
    const std::vector<Dialogs::ListEntry> devices = Dialogs::Entries(config, IDC_DEVICE_LIST);
    ASSERT_GE(devices.size(), 2u);
    EXPECT_EQ(devices[1].value, 0);
    EXPECT_EQ(Dialogs::Selected(config, IDC_DEVICE_LIST), devices[1].text);
    EXPECT_TRUE(boxes.Boxes().empty());
    Dialogs::Cancel(config);
    EXPECT_TRUE(run.WaitFinished());
}

}  // namespace
