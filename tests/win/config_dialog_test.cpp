// The configuration dialog, opened through DllConfig and driven by control id.
#include "dialog_fixture.h"
#include "fake_kaillera.h"
#include "fake_xinput.h"

#include "config/joystick_codes.h"

namespace {

using Dialogs::ListEntry;

class ConfigDialogTest : public DialogTest {};

TEST_F(ConfigDialogTest, OpensOnFirstControllerWithDevicesByTableIndexAndNetplayOff) {
    const int32_t pad = fake.AddJoystick("Pad");
    fake.SetDevicePath(pad, "\\\\?\\hid#vid_045e&pid_028e&ig_00#8&2c4f&0&0000#{4d1e55b2-f16f-11cf-88cb-001111000030}");
    fake.AddKeyboard("Keys");
    StoreMapping(0, 1);  // the joystick: keyboards take the first slots
    Start();
    HWND config = OpenConfig();
    ASSERT_NE(config, nullptr);

    EXPECT_EQ(Dialogs::Entries(config, IDC_CONTROLLER_LIST),
              (std::vector<ListEntry>{{"N64 Controller 1", 0}, {"N64 Controller 2", 1}, {"N64 Controller 3", 2},
                                      {"N64 Controller 4", 3}}));
    EXPECT_EQ(Dialogs::Selected(config, IDC_CONTROLLER_LIST), "N64 Controller 1");
    // An XInput pad's DirectInput face says so; the pads of XInput itself follow every DirectInput device.
    EXPECT_EQ(Dialogs::Entries(config, IDC_DEVICE_LIST),
              (std::vector<ListEntry>{{"Disable", 65535},
                                      {"Keys", 0},
                                      {"Pad (DirectInput)", 1},
                                      {"XInput Pad 1", 100},
                                      {"XInput Pad 2", 101},
                                      {"XInput Pad 3", 102},
                                      {"XInput Pad 4", 103}}));
    EXPECT_EQ(Dialogs::Selected(config, IDC_DEVICE_LIST), "Pad (DirectInput)");
    EXPECT_TRUE(Dialogs::Enabled(config, IDC_SETTINGS));

    // No netplay library is bound in these tests.
    EXPECT_FALSE(Dialogs::Enabled(config, IDC_ENABLE_KAILLERA));
    EXPECT_FALSE(Dialogs::Checked(config, IDC_ENABLE_KAILLERA));
    EXPECT_FALSE(Dialogs::Enabled(config, IDC_PLAY_AS_LIST));
    EXPECT_FALSE(Dialogs::Enabled(config, IDC_PLAY_AS_LABEL));
    EXPECT_FALSE(Dialogs::Enabled(config, IDC_VIEW_LOG));
    EXPECT_EQ(Dialogs::Selected(config, IDC_PLAY_AS_LIST), "");  // PlayAs 4 names none
    EXPECT_EQ(Dialogs::Entries(config, IDC_PLAY_AS_LIST).size(), 4u);
    EXPECT_EQ(Dialogs::Text(config, IDC_KAILLERA_VERSION), "No Kaillera Dll");
    EXPECT_EQ(Dialogs::Text(config, IDC_DLL_PATH), ".\\kailleraclient.dll");
    EXPECT_TRUE(Dialogs::Enabled(config, IDC_DLL_PATH));
    EXPECT_TRUE(Dialogs::Enabled(config, IDC_BROWSE_DLL));
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(ConfigDialogTest, ChoosingDevicesWritesSlotIndexOrMinusOne) {
    fake.AddKeyboard("Keys");
    fake.AddJoystick("Pad");
    Start();
    HWND config = OpenConfig();
    ASSERT_NE(config, nullptr);
    EXPECT_EQ(Dialogs::Selected(config, IDC_DEVICE_LIST), "Disable");
    EXPECT_FALSE(Dialogs::Enabled(config, IDC_SETTINGS));

    Dialogs::Choose(config, IDC_CONTROLLER_LIST, 2);
    ASSERT_TRUE(Dialogs::Choose(config, IDC_DEVICE_LIST, "Pad"));
    EXPECT_TRUE(Dialogs::Enabled(config, IDC_SETTINGS));
    Dialogs::Choose(config, IDC_CONTROLLER_LIST, 3);
    ASSERT_TRUE(Dialogs::Choose(config, IDC_DEVICE_LIST, "Keys"));
    ASSERT_TRUE(Dialogs::Choose(config, IDC_DEVICE_LIST, "Disable"));
    EXPECT_FALSE(Dialogs::Enabled(config, IDC_SETTINGS));
    Save(config);
    EXPECT_EQ(Stored("Controller2", "DIDevice"), 1);
    EXPECT_EQ(Stored("Controller3", "DIDevice"), -1);

    // Going back to a controller shows its device again.
    Dialogs::Choose(config, IDC_CONTROLLER_LIST, 2);
    EXPECT_EQ(Dialogs::Selected(config, IDC_DEVICE_LIST), "Pad");
    EXPECT_TRUE(Dialogs::Enabled(config, IDC_SETTINGS));
}

TEST_F(ConfigDialogTest, FirstDeviceOfANeverMappedControllerBringsItsLayout) {
    const int32_t keyboard = fake.AddKeyboard("Keys");
    const int32_t pad = fake.AddJoystick("Pad");
    StoreMapping(1, -1, {{"ButtonA", 0x10}});  // mapped once, then disabled: its own codes stay
    Start();
    HWND config = OpenConfig();
    ASSERT_NE(config, nullptr);
    ASSERT_TRUE(Dialogs::Choose(config, IDC_DEVICE_LIST, "Keys"));
    Dialogs::Choose(config, IDC_CONTROLLER_LIST, 1);
    ASSERT_TRUE(Dialogs::Choose(config, IDC_DEVICE_LIST, "Keys"));
    Dialogs::Choose(config, IDC_CONTROLLER_LIST, 2);
    ASSERT_TRUE(Dialogs::Choose(config, IDC_DEVICE_LIST, "Pad"));
    Save(config);
    Dialogs::Cancel(config);
    ASSERT_TRUE(run->WaitFinished());
    run.reset();
    EXPECT_EQ(Stored("Controller2", "DIDevice"), 1);
    EXPECT_EQ(Stored("Controller2", "ButtonStart"), 7);  // the two-stick pad layout

    fake.SetKey(keyboard, 0x2A, true);  // left shift, the keyboard layout's A
    EXPECT_EQ(plugin.Poll(0).buttons, ButtonBit::A);
    EXPECT_EQ(plugin.Poll(1), kIdle);
    // The pad's first button is A alone, and its X axis drives only the stick's X.
    fake.SetButton(pad, 0, true);
    fake.SetAxis(pad, 0, 64);
    EXPECT_EQ(plugin.Poll(2), (ButtonState{ButtonBit::A, 64, 0}));
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(ConfigDialogTest, XInputPadTakesThePadLayoutMapsByPressingAndIsFoundAgainAfterARestart) {
    fake.AddKeyboard("Keys");
    FakeXInput pads;
    pads.SetConnected(1, true);
    Start();
    HWND config = OpenConfig();
    ASSERT_NE(config, nullptr);
    HWND dialog = OpenMapping(config, 1, "XInput Pad 2", kJoystickCaption);
    ASSERT_NE(dialog, nullptr);
    // A never-mapped controller got the pad layout, shown in the pad's own names.
    const std::pair<int, const char*> layout[] = {
        {IDC_MAP_A, "XInput A"},        {IDC_MAP_B, "XInput X"},          {IDC_MAP_TRIGGER_Z, "Left trigger"},
        {IDC_MAP_C_UP, "Right stick Y+"}, {IDC_MAP_PAD_UP, "D-pad Up"},  {IDC_MAP_TRIGGER_LEFT, "XInput LB"},
        {IDC_MAP_START, "XInput Start"}, {IDC_MAP_STICK_UP, "(unused)"}};
    for (const auto& [button, label] : layout) EXPECT_EQ(Dialogs::Text(dialog, button + 1), label) << button;
    EXPECT_EQ(Dialogs::Selected(dialog, IDC_STICK_UP_DOWN_LIST), "Left stick Y");
    EXPECT_EQ(Dialogs::Selected(dialog, IDC_STICK_LEFT_RIGHT_LIST), "Left stick X");
    EXPECT_EQ(Dialogs::Entries(dialog, IDC_STICK_UP_DOWN_LIST).size(), 9u);

    // Every kind of input is taken by pressing it: a trigger on its own, a stick direction, a button.
    const std::pair<XInputGamepad, std::pair<int, const char*>> presses[] = {
        {{0, 0, 255, 0, 0, 0, 0}, {IDC_MAP_TRIGGER_RIGHT, "Right trigger"}},
        {{0, 0, 0, 0, 0, 32767, 0}, {IDC_MAP_C_LEFT, "Right stick X+"}},
        {{XInputButton::B, 0, 0, 0, 0, 0, 0}, {IDC_MAP_B, "XInput B"}}};
    for (const auto& [gamepad, row] : presses) {
        pads.Set(1, gamepad);
        Dialogs::Click(dialog, row.first);
        EXPECT_TRUE(WaitUntil([&] { return Dialogs::Text(dialog, row.first + 1) == row.second; })) << row.second;
        EXPECT_TRUE(WaitUntil([&] { return Dialogs::Enabled(dialog, row.first); }));
        pads.Set(1, {});
    }
    Dialogs::Cancel(dialog);
    ASSERT_TRUE(Dialogs::WaitClosed(dialog));
    Save(config);
    EXPECT_EQ(Stored("Controller1", "DIDevice"), 101);
    EXPECT_EQ(Stored("Controller1", "TriggerRight"), AxisCode(JoystickAxisRz, true));
    EXPECT_STREQ(TestRegistry::ReadRaw("Controller1", "DeviceGuid")->c_str(), "");
    Dialogs::Cancel(config);
    ASSERT_TRUE(run->WaitFinished());
    run.reset();

    // The next start finds the same pad from the stored choice.
    plugin.Unload();
    Start();
    pads.Set(1, {XInputButton::B, 0, 255, 0, 0, 0, 0});
    EXPECT_TRUE(WaitUntil([&] { return plugin.Poll(1).buttons == (ButtonBit::B | ButtonBit::TriggerRight); }, 3000));
    Dialogs::Choose(OpenConfig(), IDC_CONTROLLER_LIST, 1);
    EXPECT_EQ(Dialogs::Selected(Dialogs::Find(kConfigCaption), IDC_DEVICE_LIST), "XInput Pad 2");
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(ConfigDialogTest, KeyboardTriedFirstThenThePadStillBringsThePadLayout) {
    fake.AddKeyboard("Keys");
    const int32_t pad = fake.AddJoystick("Pad");
    FakeXInput pads;
    pads.SetConnected(0, true);
    Start();
    HWND config = OpenConfig();
    ASSERT_NE(config, nullptr);
    ASSERT_TRUE(Dialogs::Choose(config, IDC_DEVICE_LIST, "Keys"));
    ASSERT_TRUE(Dialogs::Choose(config, IDC_DEVICE_LIST, "Pad"));
    Dialogs::Choose(config, IDC_CONTROLLER_LIST, 1);  // the same detour to an XInput pad
    ASSERT_TRUE(Dialogs::Choose(config, IDC_DEVICE_LIST, "Keys"));
    ASSERT_TRUE(Dialogs::Choose(config, IDC_DEVICE_LIST, "XInput Pad 1"));
    Dialogs::Cancel(config);
    ASSERT_TRUE(run->WaitFinished());
    run.reset();
    fake.SetButton(pad, 0, true);
    fake.SetAxis(pad, 0, 64);
    EXPECT_EQ(plugin.Poll(0), (ButtonState{ButtonBit::A, 64, 0}));
    pads.Set(0, {XInputButton::A, 0, 0, 32767, 0, 0, 0});
    EXPECT_TRUE(WaitUntil([&] { return plugin.Poll(1) == ButtonState{ButtonBit::A, 64, 0}; }, 3000));
}

TEST_F(ConfigDialogTest, DeviceIsShownByNameAndRecordKeepsItsIndexUntilAChoice) {
    fake.AddKeyboard("Keys");
    fake.AddJoystick("Twin pad");
    fake.AddJoystick("twin PAD");
    fake.AddJoystick("Dis");  // a name that begins "Disable" must not stand for it
    StoreMapping(0, 2);  // the second twin
    StoreMapping(1, 7);  // beyond the table
    StoreMapping(2, 3);
    Start();
    HWND config = OpenConfig();
    ASSERT_NE(config, nullptr);
    EXPECT_EQ(Dialogs::Selected(config, IDC_DEVICE_LIST), "Twin pad");
    EXPECT_TRUE(Dialogs::Enabled(config, IDC_SETTINGS));
    Dialogs::Choose(config, IDC_CONTROLLER_LIST, 1);
    EXPECT_EQ(Dialogs::Selected(config, IDC_DEVICE_LIST), "Disable");
    EXPECT_FALSE(Dialogs::Enabled(config, IDC_SETTINGS));
    Dialogs::Choose(config, IDC_CONTROLLER_LIST, 2);
    EXPECT_EQ(Dialogs::Selected(config, IDC_DEVICE_LIST), "Dis");
    EXPECT_TRUE(Dialogs::Enabled(config, IDC_SETTINGS));

    Save(config);
    EXPECT_EQ(Stored("Controller0", "DIDevice"), 2);
    EXPECT_EQ(Stored("Controller1", "DIDevice"), 7);
}

TEST_F(ConfigDialogTest, CloseKeepsChangesRunningButWritesNothing) {
    fake.AddKeyboard("Keys");
    Start();
    HWND config = OpenConfig();
    ASSERT_NE(config, nullptr);
    ASSERT_TRUE(Dialogs::Choose(config, IDC_DEVICE_LIST, "Keys"));
    Dialogs::Click(config, IDCANCEL);
    ASSERT_TRUE(run->WaitFinished());
    run.reset();
    EXPECT_FALSE(TestRegistry::PluginKeyExists());

    config = OpenConfig();
    ASSERT_NE(config, nullptr);
    EXPECT_EQ(Dialogs::Selected(config, IDC_DEVICE_LIST), "Keys");
}

TEST_F(ConfigDialogTest, SaveKeepsTheDialogOpenAndAFreshLoadShowsTheSameSettings) {
    fake.AddKeyboard("Keys");
    fake.AddJoystick("Pad");
    Start();
    HWND config = OpenConfig();
    ASSERT_NE(config, nullptr);
    ASSERT_TRUE(Dialogs::Choose(config, IDC_DEVICE_LIST, "Pad"));
    Dialogs::Choose(config, IDC_CONTROLLER_LIST, 3);
    ASSERT_TRUE(Dialogs::Choose(config, IDC_DEVICE_LIST, "Keys"));
    Save(config);
    Save(config);
    EXPECT_TRUE(IsWindowVisible(config));
    EXPECT_TRUE(boxes.Boxes().empty());
    Dialogs::Cancel(config);
    ASSERT_TRUE(run->WaitFinished());
    run.reset();

    plugin.Unload();
    Start();
    config = OpenConfig();
    ASSERT_NE(config, nullptr);
    EXPECT_EQ(Dialogs::Selected(config, IDC_DEVICE_LIST), "Pad");
    Dialogs::Choose(config, IDC_CONTROLLER_LIST, 3);
    EXPECT_EQ(Dialogs::Selected(config, IDC_DEVICE_LIST), "Keys");
    Dialogs::Choose(config, IDC_CONTROLLER_LIST, 1);
    EXPECT_EQ(Dialogs::Selected(config, IDC_DEVICE_LIST), "Disable");
    EXPECT_EQ(Dialogs::Text(config, IDC_DLL_PATH), ".\\kailleraclient.dll");
}

TEST_F(ConfigDialogTest, SettingsOpensTheMappingDialogOfTheDeviceKind) {
    fake.AddKeyboard("Keys");
    fake.AddJoystick("Pad");
    Start();
    HWND config = OpenConfig();
    ASSERT_NE(config, nullptr);
    HWND keyboard = OpenMapping(config, 0, "Keys", kKeyboardCaption);
    ASSERT_NE(keyboard, nullptr);
    EXPECT_EQ(GetWindow(keyboard, GW_OWNER), config);
    Dialogs::Cancel(keyboard);
    ASSERT_TRUE(Dialogs::WaitClosed(keyboard));

    HWND joystick = OpenMapping(config, 1, "Pad", kJoystickCaption);
    ASSERT_NE(joystick, nullptr);
    EXPECT_EQ(GetWindow(joystick, GW_OWNER), config);
    Dialogs::Click(joystick, IDOK);
    ASSERT_TRUE(Dialogs::WaitClosed(joystick));
    EXPECT_TRUE(IsWindowVisible(config));
}

TEST_F(ConfigDialogTest, AboutAndTestOpenOverTheDialog) {
    Start();
    HWND config = OpenConfig();
    ASSERT_NE(config, nullptr);
    for (const auto& [button, caption] : {std::pair{IDC_ABOUT, "About Tavik_DI"}, {IDC_TEST, "Tavik_Di - Test dialog"}}) {
        Dialogs::Click(config, button);
        HWND dialog = Dialogs::Find(caption);
        ASSERT_NE(dialog, nullptr) << caption;
        EXPECT_EQ(GetWindow(dialog, GW_OWNER), config);
        Dialogs::Cancel(dialog);
        ASSERT_TRUE(Dialogs::WaitClosed(dialog));
    }
}

TEST_F(ConfigDialogTest, LibraryFileDialogCancelledChangesNothingAndConfirmedSetsThePath) {
    Start();
    HWND config = OpenConfig();
    ASSERT_NE(config, nullptr);
    char before[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, before);

    Dialogs::Click(config, IDC_BROWSE_DLL);
    HWND open = Dialogs::Find("Open");
    ASSERT_NE(open, nullptr);
    Dialogs::Cancel(open);
    ASSERT_TRUE(Dialogs::WaitClosed(open));
    EXPECT_EQ(Dialogs::Text(config, IDC_DLL_PATH), ".\\kailleraclient.dll");

    // A file that exists: the test program's own dinput.dll stand-in.
    const std::string chosen = std::string(ProgramFolder()) + "dinput.dll";
    ASSERT_TRUE(Dialogs::ChooseFile(config, IDC_BROWSE_DLL, chosen));
    EXPECT_TRUE(WaitUntil([&] { return Dialogs::Text(config, IDC_DLL_PATH) == chosen; }));
    Save(config);
    EXPECT_EQ(TestRegistry::ReadRaw("Kaillera", "Dll"), chosen + '\0');

    char after[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, after);
    EXPECT_STREQ(after, before);  // the host's current directory is left alone
}

}  // namespace

namespace {

TEST_F(ConfigDialogTest, BoundLibraryEnablesNetplayAndItsBoxDrivesTheNetplayControls) {
    FakeKaillera library;
    // A text far beyond any buffer a caller might keep on its stack.
    library.SetVersion(("0.9-fake-with-a-long-version-text" + std::string(4000, 'v')).c_str());
    TestRegistry::WriteRaw("Kaillera", "Dll", library.Path());
    Start();
    HWND config = OpenConfig();
    ASSERT_NE(config, nullptr);
    EXPECT_TRUE(Dialogs::Enabled(config, IDC_ENABLE_KAILLERA));
    EXPECT_FALSE(Dialogs::Checked(config, IDC_ENABLE_KAILLERA)) << "every start begins with netplay off";
    EXPECT_EQ(Dialogs::Text(config, IDC_KAILLERA_VERSION), "0.9-fake-with-a") << "at most 15 characters";
    EXPECT_EQ(Dialogs::Text(config, IDC_DLL_PATH), library.Path());
    for (int id : {IDC_PLAY_AS_LIST, IDC_PLAY_AS_LABEL, IDC_VIEW_LOG}) EXPECT_FALSE(Dialogs::Enabled(config, id));

    auto netplayControlsEnabled = [&](bool enabled) {
        return WaitUntil([&] {
            for (int id : {IDC_PLAY_AS_LIST, IDC_PLAY_AS_LABEL, IDC_VIEW_LOG})
                if (Dialogs::Enabled(config, id) != enabled) return false;
            return true;
        });
    };
    Dialogs::Click(config, IDC_ENABLE_KAILLERA);
    EXPECT_TRUE(netplayControlsEnabled(true));
    Dialogs::Click(config, IDC_ENABLE_KAILLERA);
    EXPECT_TRUE(netplayControlsEnabled(false));
    EXPECT_EQ(library.Calls("kailleraGetVersion"), 1);
}


TEST_F(ConfigDialogTest, PakDialogSetsTheControllersPakAndTheRumbleStrengthOfARumblePak) {
    fake.AddJoystick("Pad");
    StoreMapping(1, 0, {{"RumbleStrength", 250}});
    Start();
    HWND config = OpenConfig();
    ASSERT_NE(config, nullptr);
    Dialogs::Choose(config, IDC_CONTROLLER_LIST, 1);
    Dialogs::Click(config, IDC_PAK);
    HWND pak = Dialogs::Find("Tavik_Di - Pak of N64 Controller 2");
    ASSERT_NE(pak, nullptr);
    EXPECT_EQ(Dialogs::Entries(pak, IDC_PAK_LIST),
              (std::vector<Dialogs::ListEntry>{{"None", 0}, {"Memory pak", 1}, {"Rumble pak", 2}, {"Transfer pak", 3}}));
    EXPECT_EQ(Dialogs::Selected(pak, IDC_PAK_LIST), "None");
    EXPECT_FALSE(Dialogs::Enabled(pak, IDC_RUMBLE_STRENGTH));
    EXPECT_EQ(EditText(pak, IDC_RUMBLE_STRENGTH), "100");  // out of bounds: the default

    Dialogs::Choose(pak, IDC_PAK_LIST, 2);
    EXPECT_TRUE(Dialogs::Enabled(pak, IDC_RUMBLE_STRENGTH));
    SetDlgItemTextA(pak, IDC_RUMBLE_STRENGTH, "40");
    Dialogs::Cancel(pak);
    ASSERT_TRUE(Dialogs::WaitClosed(pak));
    Save(config);
    EXPECT_EQ(Stored("Controller1", "Pak"), 2);
    EXPECT_EQ(Stored("Controller1", "RumbleStrength"), 40);
    EXPECT_EQ(Stored("Controller0", "Pak"), 0);

    Dialogs::Click(config, IDC_PAK);
    pak = Dialogs::Find("Tavik_Di - Pak of N64 Controller 2");
    ASSERT_NE(pak, nullptr);
    EXPECT_EQ(EditText(pak, IDC_RUMBLE_STRENGTH), "40");
    Dialogs::Choose(pak, IDC_PAK_LIST, 1);
    EXPECT_FALSE(Dialogs::Enabled(pak, IDC_RUMBLE_STRENGTH));
    Dialogs::Cancel(pak);
    ASSERT_TRUE(Dialogs::WaitClosed(pak));
    Save(config);
    EXPECT_EQ(Stored("Controller1", "Pak"), 1);
}

}  // namespace
