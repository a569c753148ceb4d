// Key capture in the keyboard mapping dialog with Wine's own DirectInput, fed by xdotool.
#include "dialog_driver.h"
#include "message_box_catcher.h"
#include "plugin_api.h"
#include "registry_fixture.h"
#include "resources/resource_ids.h"
#include "test_window.h"
#include "watchdog.h"
#include "x_keyboard.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

class RealKeyboardCaptureTest : public testing::Test {
protected:
    void SetUp() override {
        TestRegistry::DeletePluginKey();
        TestRegistry::WriteNumber("Controller0", "DIDevice", 0);  // the system keyboard comes first
        ASSERT_TRUE(plugin.Load());
        ControlSlot slots[4];
        plugin.InitiateControllers(window.Handle(), slots);
        run.emplace([this] { plugin.DllConfig(window.Handle()); });
        HWND config = Dialogs::Find("Tavik_Di Plugin Configuration");
        ASSERT_NE(config, nullptr);
        ASSERT_TRUE(Dialogs::Enabled(config, IDC_SETTINGS));
        Dialogs::Click(config, IDC_SETTINGS);
        dialog = Dialogs::Find("Tavik_Di - Keyboard Setting");
        ASSERT_NE(dialog, nullptr);
        // No window manager runs: the dialog is given the foreground, which the capture needs.
        SetForegroundWindow(dialog);
        ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == dialog; }, 3000));
    }
    void TearDown() override {
        XKeyboard::KeyUp(pressed_);
        run.reset();
        plugin.Unload();
        TestRegistry::DeletePluginKey();
    }

    // Presses `key` (an X key name) during the capture of `button`: its label must read `name` and the
    // button be enabled again.
    ::testing::AssertionResult Capture(int button, const std::string& key, const std::string& name,
                                       DWORD holdMs = 200) {
        // A label that already read `name` would pass before the capture took anything.
        if (Dialogs::Text(dialog, button + 1) == name)
            return ::testing::AssertionFailure() << "the button was already mapped to " << name;
        Dialogs::Click(dialog, button);
        if (!WaitUntil([&] { return !Dialogs::Enabled(dialog, button); }))
            return ::testing::AssertionFailure() << "the capture did not start";
        // The button is disabled before the keyboard is acquired, and Wine may miss a key already
        // held at the acquisition: a press not taken within a second of its release is repeated.
        // The capture ends only once the key is let go.
        bool named = false;
        for (int press = 0; press < 5 && !named; ++press) {
            pressed_ = key;
            if (!XKeyboard::KeyDown(key)) return ::testing::AssertionFailure() << "xdotool did not press " << key;
            Sleep(holdMs);
            XKeyboard::KeyUp(key);
            pressed_.clear();
            named = WaitUntil([&] { return Dialogs::Text(dialog, button + 1) == name; }, 1000);
        }
        const HWND foreground = GetForegroundWindow();
        if (!named)
            return ::testing::AssertionFailure() << "the label read " << Dialogs::Text(dialog, button + 1)
                                                 << (foreground == dialog ? "" : " with the dialog not foreground");
        if (!WaitUntil([&] { return Dialogs::Enabled(dialog, button); }))
            return ::testing::AssertionFailure() << "the button stayed disabled";
        return ::testing::AssertionSuccess();
    }

    MessageBoxCatcher boxes;
    TestWindow window;
    PluginApi plugin;
    std::optional<ModalRun> run;
    HWND dialog = nullptr;
    std::string pressed_;
};

TEST_F(RealKeyboardCaptureTest, PressedKeysAreAssignedByName) {
    // Swapped against the keyboard layout's defaults (A on Shift, pad up on Home).
    EXPECT_TRUE(Capture(IDC_MAP_A, "Home", "DIK_HOME"));
    EXPECT_TRUE(Capture(IDC_MAP_PAD_UP, "Shift_L", "DIK_LSHIFT"));
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(RealKeyboardCaptureTest, EscapeAndEnterAreAssignedWithoutClosingTheDialog) {
    // Held past the auto-repeat delay: the repeats must not reach the dialog either.
    EXPECT_TRUE(Capture(IDC_MAP_START, "Escape", "DIK_ESCAPE", 1500));
    EXPECT_TRUE(Capture(IDC_MAP_B, "Return", "DIK_RETURN", 1500));
    Sleep(300);  // time for a stray key message to close it
    PumpMessages();
    EXPECT_TRUE(IsWindowVisible(dialog));
}

}  // namespace
