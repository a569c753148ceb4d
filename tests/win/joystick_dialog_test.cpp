// The joystick mapping dialog over the fake DirectInput: axis lists, labels, the Adaptoid and pad
// layouts, dead zone and range, and the capture of buttons, axes and hats with its failures.
#include "config/joystick_codes.h"
#include "dialog_fixture.h"

namespace {

class JoystickDialogTest : public DialogTest {
protected:
    // The joystick dialog of controller 0, mapped to the pad with `fields` stored beforehand.
    HWND OpenJoystick(std::vector<std::pair<std::string, int>> fields = {}) {
        fake.AddKeyboard("Keys");
        pad = fake.AddJoystick("Pad");
        StoreMapping(0, 1, std::move(fields));
        Start();
        config = OpenConfig();
        if (!config) return nullptr;
        Dialogs::Click(config, IDC_SETTINGS);
        HWND dialog = Dialogs::Find(kJoystickCaption);
        EXPECT_NE(dialog, nullptr);
        return dialog;
    }
    // Clicks an assignment button and waits for its capture to begin: the button disabled and the
    // pad read once, so the capture's device exists before the test acts on the pad.
    void StartCapture(HWND dialog, int button) {
        const int32_t reads = fake.Calls(FAKEDI_CALL_GET_DEVICE_STATE, pad);
        Dialogs::Click(dialog, button);
        EXPECT_TRUE(WaitUntil([&] { return !Dialogs::Enabled(dialog, button); }));
        EXPECT_TRUE(WaitUntil([&] { return fake.Calls(FAKEDI_CALL_GET_DEVICE_STATE, pad) > reads; }));
    }
    bool CaptureEnded(HWND dialog, int button, DWORD timeoutMs = 3000) {
        return WaitUntil([&] { return Dialogs::Enabled(dialog, button); }, timeoutMs);
    }
    void Close(HWND dialog) {
        Dialogs::Cancel(dialog);
        EXPECT_TRUE(Dialogs::WaitClosed(dialog));
    }

    int32_t pad = -1;
    HWND config = nullptr;
};

TEST_F(JoystickDialogTest, ListsShowTheSelectorsAndStoredButtonCodesBecomeUseButtons) {
    HWND dialog = OpenJoystick({{"StickUpDown", -1}, {"StickLeftRight", 3}, {"StickUp", 4}, {"StickDown", 31}});
    ASSERT_NE(dialog, nullptr);
    std::vector<Dialogs::ListEntry> choices;
    for (const char* text : {"Axe X", "Inversed Axe X", "Axe Y", "Inversed Axe Y", "Axe Z", "Inversed Axe Z", "Use Buttons"})
        choices.push_back({text, static_cast<intptr_t>(choices.size())});
    int32_t further = AxisRx;  // 7 means no axis: the further axes follow from 8
    for (const char* axis : {"Rx", "Ry", "Rz", "Slider0", "Slider1"}) {
        choices.push_back({std::string("Axe ") + axis, further++});
        choices.push_back({std::string("Inversed Axe ") + axis, further++});
    }
    EXPECT_EQ(Dialogs::Entries(dialog, IDC_STICK_UP_DOWN_LIST), choices);
    EXPECT_EQ(Dialogs::Entries(dialog, IDC_STICK_LEFT_RIGHT_LIST), choices);

    EXPECT_EQ(Dialogs::Selected(dialog, IDC_STICK_UP_DOWN_LIST), "Use Buttons");
    EXPECT_TRUE(Dialogs::Enabled(dialog, IDC_MAP_STICK_UP));
    EXPECT_TRUE(Dialogs::Enabled(dialog, IDC_MAP_STICK_DOWN));
    EXPECT_EQ(Dialogs::Text(dialog, IDC_MAP_STICK_UP + 1), "Button  4");
    EXPECT_EQ(Dialogs::Text(dialog, IDC_MAP_STICK_DOWN + 1), "Button 31");

    EXPECT_EQ(Dialogs::Selected(dialog, IDC_STICK_LEFT_RIGHT_LIST), "Inversed Axe Y");
    EXPECT_FALSE(Dialogs::Enabled(dialog, IDC_MAP_STICK_LEFT));
    EXPECT_FALSE(Dialogs::Enabled(dialog, IDC_MAP_STICK_RIGHT));
    EXPECT_EQ(Dialogs::Text(dialog, IDC_MAP_STICK_LEFT + 1), "(unused)");
    EXPECT_EQ(Dialogs::Text(dialog, IDC_MAP_STICK_RIGHT + 1), "(unused)");
    EXPECT_EQ(Dialogs::Text(dialog, IDC_MAP_A + 1), "Button 42");  // stored settings start from the keyboard layout
    Close(dialog);
    Save(config);
    EXPECT_EQ(Stored("Controller0", "StickUpDown"), 6);  // confirmed as the list shows it
    EXPECT_EQ(Stored("Controller0", "StickLeftRight"), 3);
}

TEST_F(JoystickDialogTest, SelectorWithoutAnEntryIsStoredAsMinusOneAndDrivenByButtons) {
    HWND dialog = OpenJoystick({{"StickUpDown", 7}, {"StickLeftRight", -2}, {"StickLeft", 7}});
    ASSERT_NE(dialog, nullptr);
    for (int list : {IDC_STICK_UP_DOWN_LIST, IDC_STICK_LEFT_RIGHT_LIST})
        EXPECT_EQ(Dialogs::Selected(dialog, list), "Use Buttons");
    EXPECT_TRUE(Dialogs::Enabled(dialog, IDC_MAP_STICK_LEFT));
    EXPECT_EQ(Dialogs::Text(dialog, IDC_MAP_STICK_LEFT + 1), "Button  7");
    Close(dialog);
    Save(config);
    EXPECT_EQ(Stored("Controller0", "StickUpDown"), -1);
    EXPECT_EQ(Stored("Controller0", "StickLeftRight"), -1);
}

TEST_F(JoystickDialogTest, ChoosingAnAxisDisablesItsButtonsAndUseButtonsEnablesThem) {
    HWND dialog = OpenJoystick({{"StickUpDown", 6}, {"StickLeftRight", 6}, {"StickUp", 2}, {"StickDown", 3}});
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(Dialogs::Choose(dialog, IDC_STICK_UP_DOWN_LIST, "Axe Z"));
    EXPECT_FALSE(Dialogs::Enabled(dialog, IDC_MAP_STICK_UP));
    EXPECT_FALSE(Dialogs::Enabled(dialog, IDC_MAP_STICK_DOWN));
    EXPECT_EQ(Dialogs::Text(dialog, IDC_MAP_STICK_UP + 1), "(unused)");
    EXPECT_EQ(Dialogs::Text(dialog, IDC_MAP_STICK_DOWN + 1), "(unused)");
    EXPECT_TRUE(Dialogs::Enabled(dialog, IDC_MAP_STICK_LEFT));  // the other axis is untouched
    Save(config);
    EXPECT_EQ(Stored("Controller0", "StickUpDown"), 4);

    ASSERT_TRUE(Dialogs::Choose(dialog, IDC_STICK_UP_DOWN_LIST, "Use Buttons"));
    EXPECT_TRUE(Dialogs::Enabled(dialog, IDC_MAP_STICK_UP));
    EXPECT_EQ(Dialogs::Text(dialog, IDC_MAP_STICK_UP + 1), "Button  2");
    EXPECT_EQ(Dialogs::Text(dialog, IDC_MAP_STICK_DOWN + 1), "Button  3");
    Save(config);
    EXPECT_EQ(Stored("Controller0", "StickUpDown"), 6);
}

TEST_F(JoystickDialogTest, SetAdaptoidShowsItsLayoutAndKeepsTheDevice) {
    HWND dialog = OpenJoystick({{"StickUpDown", 6}, {"StickLeftRight", 6}});
    ASSERT_NE(dialog, nullptr);
    Dialogs::ClickNow(dialog, IDC_SET_DEFAULTS);
    const std::pair<int, const char*> expected[] = {
        {IDC_MAP_A, "Button  0"},         {IDC_MAP_B, "Button  3"},          {IDC_MAP_C_UP, "Button  5"},
        {IDC_MAP_C_DOWN, "Button  1"},    {IDC_MAP_C_LEFT, "Button  4"},     {IDC_MAP_C_RIGHT, "Button  2"},
        {IDC_MAP_START, "Button  8"},     {IDC_MAP_PAD_UP, "Button 10"},     {IDC_MAP_PAD_DOWN, "Button 11"},
        {IDC_MAP_PAD_LEFT, "Button 12"},  {IDC_MAP_PAD_RIGHT, "Button 13"},  {IDC_MAP_TRIGGER_Z, "Button  9"},
        {IDC_MAP_TRIGGER_LEFT, "Button  6"}, {IDC_MAP_TRIGGER_RIGHT, "Button  7"},
        {IDC_MAP_STICK_UP, "(unused)"},   {IDC_MAP_STICK_DOWN, "(unused)"},  {IDC_MAP_STICK_LEFT, "(unused)"},
        {IDC_MAP_STICK_RIGHT, "(unused)"}};
    for (const auto& [button, label] : expected) EXPECT_EQ(Dialogs::Text(dialog, button + 1), label) << button;
    EXPECT_EQ(Dialogs::Selected(dialog, IDC_STICK_UP_DOWN_LIST), "Inversed Axe Y");
    EXPECT_EQ(Dialogs::Selected(dialog, IDC_STICK_LEFT_RIGHT_LIST), "Axe X");
    // Left as they were until a list choice is confirmed again.
    EXPECT_TRUE(Dialogs::Enabled(dialog, IDC_MAP_STICK_UP));
    EXPECT_TRUE(Dialogs::Enabled(dialog, IDC_MAP_STICK_LEFT));
    Save(config);
    EXPECT_EQ(Stored("Controller0", "DIDevice"), 1);
    EXPECT_EQ(Stored("Controller0", "StickUpDown"), 3);
}

TEST_F(JoystickDialogTest, CaptureTakesTheLowestButtonHeldAndReleasesItsOwnObjects) {
    HWND dialog = OpenJoystick({{"ButtonA", 20}});
    ASSERT_NE(dialog, nullptr);
    const FakeDiCounters before = fake.Counters();
    fake.SetButton(pad, 7, true);
    fake.SetButton(pad, 3, true);
    Dialogs::Click(dialog, IDC_MAP_A);
    ASSERT_TRUE(WaitUntil([&] { return Dialogs::Text(dialog, IDC_MAP_A + 1) == "Button  3"; }));
    EXPECT_TRUE(CaptureEnded(dialog, IDC_MAP_A));
    fake.SetButton(pad, 7, false);
    fake.SetButton(pad, 3, false);

    // A press that comes while the capture waits.
    StartCapture(dialog, IDC_MAP_TRIGGER_Z);
    fake.SetButton(pad, 12, true);
    ASSERT_TRUE(WaitUntil([&] { return Dialogs::Text(dialog, IDC_MAP_TRIGGER_Z + 1) == "Button 12"; }));
    EXPECT_TRUE(CaptureEnded(dialog, IDC_MAP_TRIGGER_Z));

    HWND window = nullptr;
    EXPECT_EQ(fake.CooperativeFlags(pad, &window), DISCL_NONEXCLUSIVE | DISCL_FOREGROUND);
    EXPECT_EQ(window, dialog);
    const FakeDiCounters after = fake.Counters();
    EXPECT_EQ(after.liveObjects, before.liveObjects);
    EXPECT_EQ(after.references, before.references);
    EXPECT_EQ(after.directInputsCreated, before.directInputsCreated + 2);
    EXPECT_TRUE(boxes.Boxes().empty());
    Close(dialog);
    Save(config);
    EXPECT_EQ(Stored("Controller0", "ButtonA"), 3);
    EXPECT_EQ(Stored("Controller0", "TriggerZ"), 12);
}

TEST_F(JoystickDialogTest, EachSetUpFailureShowsItsCallStoresZeroAndLeavesNothingBehind) {
    HWND dialog = OpenJoystick({{"ButtonA", 5}, {"ButtonB", 5}, {"ButtonUp", 5}, {"ButtonDown", 5}});
    ASSERT_NE(dialog, nullptr);
    ExpectCaptureFailures(dialog,
                          {
                              {FAKEDI_CALL_CREATE, IDC_MAP_A, "DirectInputCreate - couldn't initialize..."},
                              {FAKEDI_CALL_CREATE_DEVICE, IDC_MAP_B, "CreateDevice : Joystick"},
                              {FAKEDI_CALL_SET_DATA_FORMAT, IDC_MAP_C_UP, "SetDataFormat : Joystick"},
                              {FAKEDI_CALL_SET_COOPERATIVE_LEVEL, IDC_MAP_C_DOWN, "SetCooperativeLevel : Joystick"},
                          },
                          "Button  0");
}

TEST_F(JoystickDialogTest, FailedReadsReacquireSoTheCaptureStillSeesAPress) {
    HWND dialog = OpenJoystick();
    ASSERT_NE(dialog, nullptr);
    // A read refused as not acquired leaves the device unacquired until someone acquires it.
    fake.Fail(FAKEDI_CALL_GET_DEVICE_STATE, DIERR_NOTACQUIRED, 1, pad);
    fake.SetButton(pad, 2, true);
    Dialogs::Click(dialog, IDC_MAP_B);
    EXPECT_TRUE(WaitUntil([&] { return Dialogs::Text(dialog, IDC_MAP_B + 1) == "Button  2"; }, 3000));
    EXPECT_TRUE(CaptureEnded(dialog, IDC_MAP_B));
}

TEST_F(JoystickDialogTest, UnpluggedJoystickEndsTheCaptureInTimeAndKeepsTheButton) {
    HWND dialog = OpenJoystick({{"ButtonStart", 5}});
    ASSERT_NE(dialog, nullptr);
    const FakeDiCounters before = fake.Counters();
    StartCapture(dialog, IDC_MAP_START);
    fake.SetAttached(pad, false);
    EXPECT_FALSE(CaptureEnded(dialog, IDC_MAP_START, 1000));  // still waiting for a press
    ASSERT_TRUE(CaptureEnded(dialog, IDC_MAP_START, 15000));
    EXPECT_EQ(Dialogs::Text(dialog, IDC_MAP_START + 1), "Button  5");
    EXPECT_EQ(fake.Counters().liveObjects, before.liveObjects);
    EXPECT_TRUE(boxes.Boxes().empty());
    EXPECT_TRUE(IsWindowVisible(dialog));
}

TEST_F(JoystickDialogTest, CaptureTakesAnAxisMovedFromItsRestOrAHatDirection) {
    HWND dialog = OpenJoystick();
    ASSERT_NE(dialog, nullptr);
    fake.SetJoystickObjects(pad, 0xFF, 1);
    fake.SetAxis(pad, JoystickAxisZ, -64);  // both triggers on Z, one of them resting at its end
    // Each capture reads where the axes rest before anything moves.
    const auto startCapture = [&](int button) {
        const int32_t reads = fake.Calls(FAKEDI_CALL_GET_DEVICE_STATE, pad);
        StartCapture(dialog, button);
        ASSERT_TRUE(WaitUntil([&] { return fake.Calls(FAKEDI_CALL_GET_DEVICE_STATE, pad) > reads; }));
    };

    startCapture(IDC_MAP_C_RIGHT);
    fake.SetAxis(pad, JoystickAxisRx, 20);  // not yet half way
    fake.SetAxis(pad, JoystickAxisRx, 50);
    ASSERT_TRUE(WaitUntil([&] { return Dialogs::Text(dialog, IDC_MAP_C_RIGHT + 1) == "Axis Rx+"; }));
    EXPECT_TRUE(CaptureEnded(dialog, IDC_MAP_C_RIGHT));
    fake.SetAxis(pad, JoystickAxisRx, 0);
    int32_t minimum = 0, maximum = 0;
    ASSERT_TRUE(fake.Range(pad, JoystickAxisSlider1 * 4, minimum, maximum));  // values as the game gets them
    EXPECT_EQ(minimum, -64);
    EXPECT_EQ(maximum, 64);

    startCapture(IDC_MAP_TRIGGER_Z);
    fake.SetAxis(pad, JoystickAxisZ, 40);
    ASSERT_TRUE(WaitUntil([&] { return Dialogs::Text(dialog, IDC_MAP_TRIGGER_Z + 1) == "Axis Z+"; }));
    EXPECT_TRUE(CaptureEnded(dialog, IDC_MAP_TRIGGER_Z));

    startCapture(IDC_MAP_PAD_LEFT);
    fake.SetPov(pad, 0, 27000);
    ASSERT_TRUE(WaitUntil([&] { return Dialogs::Text(dialog, IDC_MAP_PAD_LEFT + 1) == "Hat 0 Left"; }));
    EXPECT_TRUE(CaptureEnded(dialog, IDC_MAP_PAD_LEFT));
    EXPECT_TRUE(boxes.Boxes().empty());
    Close(dialog);
    Save(config);
    EXPECT_EQ(Stored("Controller0", "ButtonRight"), AxisCode(JoystickAxisRx, true));
    EXPECT_EQ(Stored("Controller0", "TriggerZ"), AxisCode(JoystickAxisZ, true));
    EXPECT_EQ(Stored("Controller0", "PadLeft"), HatCode(0, HatLeft));
}

TEST_F(JoystickDialogTest, DeadZoneAndRangeFieldsStoreValuesWithinBoundsAndSetPadLoadsThePadLayout) {
    HWND dialog = OpenJoystick({{"DeadZone", 10}, {"Range", 500}, {"StickUpDown", 6}});
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(EditText(dialog, IDC_DEAD_ZONE), "10");
    EXPECT_EQ(EditText(dialog, IDC_RANGE), "64");  // out of bounds: the default
    SetDlgItemTextA(dialog, IDC_RANGE, "100");
    SetDlgItemTextA(dialog, IDC_DEAD_ZONE, "51");  // too large: not taken, and shown back on leaving
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_DEAD_ZONE, EN_KILLFOCUS),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDC_DEAD_ZONE)));
    EXPECT_EQ(EditText(dialog, IDC_DEAD_ZONE), "10");

    Dialogs::ClickNow(dialog, IDC_SET_PAD);
    const std::pair<int, const char*> expected[] = {
        {IDC_MAP_A, "Button  0"},          {IDC_MAP_B, "Button  2"},          {IDC_MAP_START, "Button  7"},
        {IDC_MAP_C_UP, "Axis Ry-"},        {IDC_MAP_C_DOWN, "Axis Ry+"},      {IDC_MAP_C_LEFT, "Axis Rx-"},
        {IDC_MAP_C_RIGHT, "Axis Rx+"},     {IDC_MAP_PAD_UP, "Hat 0 Up"},      {IDC_MAP_PAD_DOWN, "Hat 0 Down"},
        {IDC_MAP_PAD_LEFT, "Hat 0 Left"},  {IDC_MAP_PAD_RIGHT, "Hat 0 Right"}, {IDC_MAP_TRIGGER_Z, "Axis Z+"},
        {IDC_MAP_TRIGGER_LEFT, "Button  4"}, {IDC_MAP_TRIGGER_RIGHT, "Button  5"},
        {IDC_MAP_STICK_UP, "(unused)"},    {IDC_MAP_STICK_LEFT, "(unused)"}};
    for (const auto& [button, label] : expected) EXPECT_EQ(Dialogs::Text(dialog, button + 1), label) << button;
    EXPECT_EQ(Dialogs::Selected(dialog, IDC_STICK_UP_DOWN_LIST), "Inversed Axe Y");
    EXPECT_EQ(Dialogs::Selected(dialog, IDC_STICK_LEFT_RIGHT_LIST), "Axe X");
    Close(dialog);
    Save(config);
    EXPECT_EQ(Stored("Controller0", "DIDevice"), 1);
    EXPECT_EQ(Stored("Controller0", "DeadZone"), 10);
    EXPECT_EQ(Stored("Controller0", "Range"), 100);
}

}  // namespace
