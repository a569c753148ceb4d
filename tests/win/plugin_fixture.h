// A fresh plug-in over the fake DirectInput, with every message box caught.
#pragma once

#include "fake_dinput.h"
#include "message_box_catcher.h"
#include "plugin_api.h"
#include "registry_fixture.h"
#include "test_window.h"

#include <gtest/gtest.h>

#define DIRECTINPUT_VERSION 0x0700
#include <dinput.h>

#include <string>
#include <vector>

class PluginTest : public testing::Test {
protected:
    void SetUp() override { TestRegistry::DeletePluginKey(); }
    void TearDown() override {
        plugin.Unload();
        TestRegistry::DeletePluginKey();
    }

    // Loads the plug-in (its start-up reads the registry written so far) and hands it the window.
    void Start(bool withWindow = true) {
        ASSERT_TRUE(plugin.Load());
        if (withWindow) {
            ControlSlot slots[4];
            plugin.InitiateControllers(window.Handle(), slots);
        }
    }

    // Maps `controller` to device slot `device` through the stored settings, as the dialog would.
    static void StoreMapping(int controller, int device, std::vector<std::pair<std::string, int>> fields = {}) {
        const std::string key = "Controller" + std::to_string(controller);
        TestRegistry::WriteNumber(key, "DIDevice", device);
        for (const auto& [name, value] : fields) TestRegistry::WriteNumber(key, name, value);
    }

    FakeDinput fake;
    MessageBoxCatcher boxes;
    TestWindow window;
    PluginApi plugin;
};

inline bool operator==(const ButtonState& a, const ButtonState& b) {
    return a.buttons == b.buttons && a.stickX == b.stickX && a.stickY == b.stickY;
}
inline std::ostream& operator<<(std::ostream& out, const ButtonState& s) {
    return out << "{buttons 0x" << std::hex << s.buttons << std::dec << ", x " << int(s.stickX) << ", y "
               << int(s.stickY) << "}";
}
inline constexpr ButtonState kIdle{0, 0, 0};
