// The keyboard mapping dialog over the fake DirectInput: key names, the default layout, and key
// capture with its failures.
#include "dialog_fixture.h"

namespace {

class KeyboardDialogTest : public DialogTest {
protected:
    HWND OpenKeyboard(std::vector<std::pair<std::string, int>> fields = {}) {
        keyboard = fake.AddKeyboard("Keys");
        StoreMapping(0, 0, std::move(fields));
        Start();
        config = OpenConfig();
        if (!config) return nullptr;
        Dialogs::Click(config, IDC_SETTINGS);
        HWND dialog = Dialogs::Find(kKeyboardCaption);
        EXPECT_NE(dialog, nullptr);
        return dialog;
    }

    int32_t keyboard = -1;
    HWND config = nullptr;
};

TEST_F(KeyboardDialogTest, LabelsNameTheKeysAndSetDefaultShowsTheDefaultLayout) {
    HWND dialog = OpenKeyboard({{"ButtonA", 84}, {"StickUpDown", 3}, {"StickLeftRight", 1}});
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(Dialogs::Text(dialog, IDC_MAP_A + 1), "DIK_( 84)");
    EXPECT_EQ(Dialogs::Text(dialog, IDC_MAP_START + 1), "DIK_SPACE");  // stored settings start from the default

    Dialogs::ClickNow(dialog, IDC_SET_DEFAULTS);
    const std::pair<int, const char*> expected[] = {
        {IDC_MAP_START, "DIK_SPACE"},     {IDC_MAP_STICK_UP, "DIK_UP"},        {IDC_MAP_STICK_DOWN, "DIK_DOWN"},
        {IDC_MAP_STICK_LEFT, "DIK_LEFT"}, {IDC_MAP_STICK_RIGHT, "DIK_RIGHT"},  {IDC_MAP_PAD_UP, "DIK_HOME"},
        {IDC_MAP_PAD_DOWN, "DIK_END"},    {IDC_MAP_PAD_LEFT, "DIK_DELETE"},    {IDC_MAP_PAD_RIGHT, "DIK_NEXT"},
        {IDC_MAP_A, "DIK_LSHIFT"},        {IDC_MAP_B, "DIK_LCONTROL"},         {IDC_MAP_C_UP, "DIK_NUMPAD8"},
        {IDC_MAP_C_DOWN, "DIK_NUMPAD2"},  {IDC_MAP_C_LEFT, "DIK_NUMPAD4"},     {IDC_MAP_C_RIGHT, "DIK_NUMPAD6"},
        {IDC_MAP_TRIGGER_Z, "DIK_Z"},     {IDC_MAP_TRIGGER_LEFT, "DIK_A"},     {IDC_MAP_TRIGGER_RIGHT, "DIK_S"}};
    for (const auto& [button, label] : expected) EXPECT_EQ(Dialogs::Text(dialog, button + 1), label) << button;

    Dialogs::Cancel(dialog);
    ASSERT_TRUE(Dialogs::WaitClosed(dialog));
    EXPECT_EQ(Stored("Controller0", "ButtonA"), 84);  // nothing written until "Save"
    Save(config);
    EXPECT_EQ(Stored("Controller0", "ButtonA"), 42);
    EXPECT_EQ(Stored("Controller0", "DIDevice"), 0);
    EXPECT_EQ(Stored("Controller0", "StickUpDown"), 3);
    EXPECT_EQ(Stored("Controller0", "StickLeftRight"), 1);
}

TEST_F(KeyboardDialogTest, CaptureTakesTheLowestKeyAndEscapeIsAnOrdinaryKey) {
    HWND dialog = OpenKeyboard();
    ASSERT_NE(dialog, nullptr);
    const FakeDiCounters before = fake.Counters();
    fake.SetKey(keyboard, 0x1E, true);
    fake.SetKey(keyboard, 0x10, true);
    Dialogs::Click(dialog, IDC_MAP_TRIGGER_LEFT);
    ASSERT_TRUE(WaitUntil([&] { return Dialogs::Text(dialog, IDC_MAP_TRIGGER_LEFT + 1) == "DIK_Q"; }));
    fake.SetKey(keyboard, 0x1E, false);
    fake.SetKey(keyboard, 0x10, false);

    Dialogs::Click(dialog, IDC_MAP_PAD_UP);
    ASSERT_TRUE(WaitUntil([&] { return !Dialogs::Enabled(dialog, IDC_MAP_PAD_UP); }));
    fake.SetKey(keyboard, 0x01, true);
    ASSERT_TRUE(WaitUntil([&] { return Dialogs::Text(dialog, IDC_MAP_PAD_UP + 1) == "DIK_ESCAPE"; }));
    EXPECT_TRUE(WaitUntil([&] { return Dialogs::Enabled(dialog, IDC_MAP_PAD_UP); }));
    EXPECT_TRUE(IsWindowVisible(dialog));
    EXPECT_EQ(fake.Counters().liveObjects, before.liveObjects);
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(KeyboardDialogTest, EachSetUpFailureShowsItsCallAndStoresZero) {
    HWND dialog = OpenKeyboard();
    ASSERT_NE(dialog, nullptr);
    ExpectCaptureFailures(dialog,
                          {
                              {FAKEDI_CALL_CREATE, IDC_MAP_A, "DirectInputCreate - couldn't initialize..."},
                              {FAKEDI_CALL_CREATE_DEVICE, IDC_MAP_B, "CreateDevice : Keyboard"},
                              {FAKEDI_CALL_SET_DATA_FORMAT, IDC_MAP_START, "SetDataFormat : Keyboard"},
                              {FAKEDI_CALL_SET_COOPERATIVE_LEVEL, IDC_MAP_TRIGGER_Z, "SetCooperativeLevel : Keyboard"},
                          },
                          "DIK_(  0)");
}

}  // namespace
