// Wine's own DirectInput keyboard, fed by real X key events from xdotool.
#include "plugin_api.h"
#include "message_box_catcher.h"
#include "registry_fixture.h"
#include "test_window.h"
#include "watchdog.h"
#include "x_keyboard.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace {

bool operator==(const ButtonState& a, const ButtonState& b) {
    return a.buttons == b.buttons && a.stickX == b.stickX && a.stickY == b.stickY;
}

class RealKeyboardTest : public testing::Test {
protected:
    void SetUp() override {
        TestRegistry::DeletePluginKey();
        // Controller 0 on the first device (the system keyboard) with the keyboard layout.
        TestRegistry::WriteNumber("Controller0", "DIDevice", 0);
        ASSERT_TRUE(plugin.Load());
        ControlSlot slots[4];
        plugin.InitiateControllers(window.Handle(), slots);
        ASSERT_TRUE(window.Focus()) << "the test window could not take the focus";
        // A running game polls all the time. Keys pressed before the first poll, which acquires the
        // keyboard if it is not yet acquired, are partly missed by Wine.
        ASSERT_TRUE(WaitUntil([&] { return plugin.Poll(0) == ButtonState{}; }));
    }
    void TearDown() override {
        XKeyboard::KeyUp(pressed_);
        plugin.Unload();
        TestRegistry::DeletePluginKey();
    }

    // Holds `keys` and waits for the polled word to become `expected`.
    ::testing::AssertionResult PressAndExpect(const std::string& keys, ButtonState expected) {
        pressed_ = keys;
        if (!XKeyboard::KeyDown(keys)) return ::testing::AssertionFailure() << "xdotool could not be started";
        ButtonState last{};
        const bool seen = WaitUntil([&] { return (last = plugin.Poll(0)) == expected; }, 5000);
        if (seen) return ::testing::AssertionSuccess();
        // Each << of an AssertionResult formats into a stream of its own: a manipulator would not last.
        char word[64];
        std::snprintf(word, sizeof word, "buttons 0x%04x x %d y %d", unsigned(last.buttons), int(last.stickX),
                      int(last.stickY));
        return ::testing::AssertionFailure() << "after pressing " << keys << " the word stayed " << word;
    }
    ::testing::AssertionResult ReleaseAndExpectIdle() {
        XKeyboard::KeyUp(pressed_);
        pressed_.clear();
        if (WaitUntil([&] { return plugin.Poll(0) == ButtonState{}; }, 5000)) return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "keys still read as held after their release";
    }

    MessageBoxCatcher boxes;
    TestWindow window;
    PluginApi plugin;
    std::string pressed_;
};

TEST_F(RealKeyboardTest, UpAndDownTogetherPushTheStickDown) {
    EXPECT_TRUE(PressAndExpect("Up Down", ButtonState{0, 0, -64}));
    EXPECT_TRUE(ReleaseAndExpectIdle());
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(RealKeyboardTest, HomeShiftAndAPressPadUpAAndLeftTrigger) {
    EXPECT_TRUE(PressAndExpect("Home Shift_L a", ButtonState{0x1088, 0, 0}));
    EXPECT_TRUE(ReleaseAndExpectIdle());
}

}  // namespace
