// A system without any XInput library (Wine's are switched off for this program): no XInput pad is
// offered, and a controller stored on one reads idle and keeps its choice.
#include "dialog_fixture.h"

#include "config/xinput_device.h"

namespace {

using NoXInputTest = DialogTest;

TEST_F(NoXInputTest, NoPadIsOfferedAndAStoredChoiceReadsIdleAndIsKept) {
    ASSERT_EQ(LoadLibraryA("xinput1_4.dll"), nullptr) << "this program must run without XInput";
    const int32_t keyboard = fake.AddKeyboard("Keys");
    ControllerConfig record{};
    ApplyPadDefaults(record, XInputDeviceOf(1));
    TestRegistry::WriteRecord("Controller0", record);
    Start();
    plugin.RomOpen();
    fake.SetKey(keyboard, 0x2A, true);
    for (int poll = 0; poll < 20; ++poll) {
        ASSERT_EQ(plugin.Poll(0), kIdle);
        Sleep(10);
    }

    HWND config = OpenConfig();
    ASSERT_NE(config, nullptr);
    EXPECT_EQ(Dialogs::Entries(config, IDC_DEVICE_LIST), (std::vector<Dialogs::ListEntry>{{"Disable", 65535}, {"Keys", 0}}));
    EXPECT_EQ(Dialogs::Selected(config, IDC_DEVICE_LIST), "Disable");
    EXPECT_FALSE(Dialogs::Enabled(config, IDC_SETTINGS));
    Save(config);
    EXPECT_EQ(Stored("Controller0", "DIDevice"), XInputDeviceOf(1));
    EXPECT_TRUE(boxes.Boxes().empty());
}

}  // namespace
