// A fresh plug-in over the fake DirectInput whose configuration dialog runs on a thread of its own.
#pragma once

#include "dialog_driver.h"
#include "plugin_fixture.h"
#include "resources/resource_ids.h"
#include "watchdog.h"

#include <cstdlib>
#include <optional>
#include <string>

inline constexpr const char* kConfigCaption = "Tavik_Di Plugin Configuration";
inline constexpr const char* kKeyboardCaption = "Tavik_Di - Keyboard Setting";
inline constexpr const char* kJoystickCaption = "Tavik_Di - Joystick Setting";

class DialogTest : public PluginTest {
protected:
    void TearDown() override {
        run.reset();  // the dialogs end before the plug-in is unloaded
        PluginTest::TearDown();
    }

    HWND OpenConfig() {
        run.emplace([this] { plugin.DllConfig(window.Handle()); });
        HWND dialog = Dialogs::Find(kConfigCaption);
        EXPECT_NE(dialog, nullptr) << "the configuration dialog did not open";
        return dialog;
    }
    // Picks `device` for `controller` in the configuration dialog and opens its mapping dialog.
    HWND OpenMapping(HWND config, int controller, const std::string& device, const char* caption) {
        Dialogs::Choose(config, IDC_CONTROLLER_LIST, controller);
        EXPECT_TRUE(Dialogs::Choose(config, IDC_DEVICE_LIST, device)) << "no device entry " << device;
        Dialogs::Click(config, IDC_SETTINGS);
        HWND dialog = Dialogs::Find(caption);
        EXPECT_NE(dialog, nullptr) << caption << " did not open";
        return dialog;
    }
    // The stored value, or nothing when it is missing.
    static std::optional<int> Stored(const std::string& subkey, const std::string& name) {
        const std::optional<std::string> text = TestRegistry::ReadRaw(subkey, name);
        if (!text) return std::nullopt;
        return std::atoi(text->c_str());
    }
    // An edit field keeps its text to itself: asked for with a message.
    static std::string EditText(HWND dialog, int id) {
        char text[16] = {};
        GetDlgItemTextA(dialog, id, text, sizeof text);
        return text;
    }
    void Save(HWND config) {
        Dialogs::ClickNow(config, IDOK);
    }

    struct CaptureFault {
        FakeDiCall call;
        int button;
        const char* text;
    };
    // Arms each fault for one call, starts a capture on its button and checks the outcome: the box,
    // the field set to 0 (`zeroLabel`), the button enabled again, nothing left alive.
    void ExpectCaptureFailures(HWND dialog, std::initializer_list<CaptureFault> faults, const std::string& zeroLabel) {
        const FakeDiCounters before = fake.Counters();
        for (const CaptureFault& fault : faults) {
            SCOPED_TRACE(fault.text);
            boxes.Clear();
            fake.Fail(fault.call, E_FAIL, 1);
            Dialogs::Click(dialog, fault.button);
            ASSERT_TRUE(boxes.WaitForCount(1));
            const CaughtBox box = boxes.Boxes()[0];
            EXPECT_EQ(box.text, fault.text);
            EXPECT_EQ(box.caption, "Tavik_Di Error!");
            EXPECT_EQ(box.owner, dialog);
            EXPECT_TRUE(WaitUntil([&] { return Dialogs::Text(dialog, fault.button + 1) == zeroLabel; }));
            EXPECT_TRUE(WaitUntil([&] { return Dialogs::Enabled(dialog, fault.button); }));
            EXPECT_EQ(fake.Counters().liveObjects, before.liveObjects);
            EXPECT_EQ(fake.Counters().acquiredNow, before.acquiredNow);
        }
        EXPECT_TRUE(IsWindowVisible(dialog));
    }

    std::optional<ModalRun> run;
};
