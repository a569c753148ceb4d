// The joystick mapping dialog over the fake DirectInput: axis lists, labels, the Adaptoid layout,
// and button capture with its failures.
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
    HWND dialog = OpenJoystick({{"StickUpDown", 9}, {"StickLeftRight", -2}, {"StickLeft", 7}});
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

}  // namespace
