// The entry points as the host sees them.
#include "dialog_driver.h"
#include "plugin_fixture.h"
#include "watchdog.h"

#include <cstring>

namespace {

class ExportsTest : public PluginTest {
protected:
    // Runs a modal entry point until its dialog is up, then closes it and waits for the return.
    void CloseWhenOpen(PluginApi::WithWindow_t entry, const char* caption) {
        ModalRun run([&] { entry(window.Handle()); });
        HWND dialog = Dialogs::Find(caption);
        ASSERT_NE(dialog, nullptr) << caption;
        Dialogs::Cancel(dialog);
        EXPECT_TRUE(run.WaitFinished());
    }
};

TEST_F(ExportsTest, GetDllInfoFillsTheHostRecordByteForByte) {
    Start();
    PluginInfo info;
    std::memset(&info, 0xCC, sizeof info);
    plugin.GetDllInfo(&info);
    EXPECT_EQ(info.version, 0x0100);
    EXPECT_EQ(info.type, 4);
    const char text[] = "Tavik_DI by Tavik version 0.4.0 build 14";
    EXPECT_EQ(std::memcmp(info.name, text, 40), 0);
    for (size_t i = 40; i < sizeof info.name; ++i) ASSERT_EQ(info.name[i], 0) << "name byte " << i;
    EXPECT_EQ(info.normalMemory, 0);
    EXPECT_EQ(info.memorySwapped, 1);

    plugin.GetDllInfo(nullptr);  // must simply return
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(ExportsTest, InitiateControllersReportsFourPlainControllers) {
    Start(false);
    ControlSlot slots[4];
    std::memset(slots, 0xCC, sizeof slots);
    plugin.InitiateControllers(window.Handle(), slots);
    for (const ControlSlot& slot : slots) {
        EXPECT_EQ(slot.present, 1);
        EXPECT_EQ(slot.rawData, 0);
        EXPECT_EQ(slot.pakKind, 1);
    }
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(ExportsTest, InitiateControllersWithoutAWindowWarnsOnceAndStillFillsTheSlots) {
    Start(false);
    ControlSlot slots[4] = {};
    plugin.InitiateControllers(nullptr, slots);
    ASSERT_TRUE(boxes.WaitForCount(1));
    const auto caught = boxes.Boxes();
    ASSERT_EQ(caught.size(), 1u);
    EXPECT_EQ(caught[0].text, "Hum, bad news : InitiateControllers() have hwnd = NULL!!!");
    EXPECT_EQ(caught[0].caption, "Tavik_DI");
    EXPECT_EQ(slots[3].present, 1);
    EXPECT_EQ(slots[3].pakKind, 1);
}

TEST_F(ExportsTest, IgnoredEntryPointsLeaveTheHostsBuffersAlone) {
    Start();
    uint8_t command[64];
    std::memset(command, 0x5A, sizeof command);
    plugin.ControllerCommand(0, command);
    plugin.ReadController(1, command);
    plugin.ReadController(-1, nullptr);
    plugin.WM_KeyDown(0x41, 0);
    plugin.WM_KeyUp(0x41, 0);
    for (uint8_t byte : command) ASSERT_EQ(byte, 0x5A);
    EXPECT_EQ(fake.Counters().directInputsCreated, 0);
}

TEST_F(ExportsTest, DevicesAreCreatedOncePerGameAndAfreshForTheNextGame) {
    fake.AddKeyboard();
    Start();
    EXPECT_EQ(fake.Counters().enumerations, 0) << "devices are created lazily";
    plugin.RomOpen();
    plugin.RomOpen();
    plugin.Poll(0);
    EXPECT_EQ(fake.Counters().enumerations, 2);  // keyboards, then joysticks
    plugin.RomClosed();
    plugin.RomOpen();  // the last game's table serves until the new one, built off the polls, is in
    EXPECT_TRUE(WaitUntil([&] { return fake.Counters().enumerations >= 4; }));
    EXPECT_TRUE(WaitUntil([&] {
        plugin.Poll(0);
        return fake.Counters().devicesCreated == 2 && fake.Counters().liveDevices == 1;
    }));
}

TEST_F(ExportsTest, ConfigAndTestReleaseTheirOwnDevicesAndTheTableIsRebuiltAfterThem) {
    fake.AddKeyboard();
    fake.AddJoystick();
    StoreMapping(0, 2, {{"ButtonA", 0}, {"StickUpDown", 7}, {"StickLeftRight", 7}});  // the pad to come
    Start();
    plugin.RomOpen();
    const int32_t late = fake.AddJoystick("Late pad");
    fake.SetButton(late, 0, true);
    for (const auto& [entry, caption] :
         {std::pair{plugin.DllConfig, "Tavik_Di Plugin Configuration"}, {plugin.DllTest, "Tavik_Di - Test dialog"}}) {
        CloseWhenOpen(entry, caption);
        // A table with the pad attached meanwhile replaces the polls' one, which is then released.
        EXPECT_TRUE(WaitUntil([&] {
            const bool read = plugin.Poll(0).buttons == ButtonBit::A;
            const FakeDiCounters counters = fake.Counters();
            return read && counters.liveDevices == 3 && counters.acquiredNow == 3;
        })) << caption;
    }
    // RomOpen's two, the configuration dialog's own two, then three at least.
    EXPECT_GE(fake.Counters().devicesCreated, 2 + 2 + 3);
}

TEST_F(ExportsTest, CloseDllAndUnloadReleaseEverything) {
    fake.AddKeyboard();
    fake.AddJoystick();
    Start();
    plugin.Poll(0);
    EXPECT_EQ(fake.Counters().acquiredNow, 2);
    plugin.CloseDLL();
    EXPECT_EQ(fake.Counters().liveObjects, 0);

    plugin.Poll(0);
    EXPECT_GT(fake.Counters().liveObjects, 0);
    plugin.Unload();  // shut-down at detach
    const FakeDiCounters counters = fake.Counters();
    EXPECT_EQ(counters.liveObjects, 0);
    EXPECT_EQ(counters.references, 0);
    EXPECT_EQ(counters.acquiredNow, 0);
}

TEST_F(ExportsTest, AboutDoesNoDeviceWork) {
    fake.AddKeyboard();
    Start();
    CloseWhenOpen(plugin.DllAbout, "About Tavik_DI");
    EXPECT_EQ(fake.Counters().directInputsCreated, 0);
}

}  // namespace
