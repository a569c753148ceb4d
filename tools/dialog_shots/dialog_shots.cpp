// Opens one of the plug-in's dialogs for a screenshot, over the fake DirectInput so the pictures
// show the same devices on every machine. Usage: dialog_shots NAME READY DONE
//   NAME  config, keyboard, joystick, xinput (the mapping dialog of an XInput pad), pak, about or test
//   READY file written with the dialog's screen rectangle ("WxH+X+Y") once it is ready
//   DONE  file whose appearance tells the program to close the dialog and end
#include "../../tests/fakes/dinput/fake_dinput_control.h"
#include "dialog_driver.h"
#include "plugin_api.h"
#include "config/xinput_device.h"
#include "registry_fixture.h"
#include "resources/resource_ids.h"
#include "watchdog.h"

#include <cstdio>
#include <optional>
#include <string>

namespace {

void AddFakeDevices() {
    HMODULE fake = LoadLibraryA("dinput.dll");
    auto addKeyboard = reinterpret_cast<FakeDi_AddKeyboard_t>(reinterpret_cast<void*>(GetProcAddress(fake, "FakeDi_AddKeyboard")));
    auto addJoystick = reinterpret_cast<FakeDi_AddJoystick_t>(reinterpret_cast<void*>(GetProcAddress(fake, "FakeDi_AddJoystick")));
    if (addKeyboard) addKeyboard("Keyboard", nullptr);
    if (addJoystick) addJoystick("USB Gamepad", nullptr, 1);
}

void StoreSettings() {
    TestRegistry::DeletePluginKey();
    TestRegistry::WriteNumber("Controller0", "DIDevice", 0);
    ControllerConfig pad{};  // the two-stick pad layout, with a small dead zone
    pad.DeadZone = 8;
    pad.Range = kRangeDefault;
    pad.Pak = PakRumble;
    pad.RumbleStrength = 80;
    ApplyPadDefaults(pad, 1);
    TestRegistry::WriteRecord("Controller1", pad);
    ApplyPadDefaults(pad, XInputDeviceOf(0));
    TestRegistry::WriteRecord("Controller2", pad);
}

bool Exists(const char* path) { return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES; }

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: dialog_shots config|keyboard|joystick|xinput|pak|about|test READY DONE\n");
        return 2;
    }
    const std::string name = argv[1];
    AddFakeDevices();
    StoreSettings();
    PluginApi plugin;
    if (!plugin.Load()) return 1;
    HWND host = CreateWindowExA(0, "STATIC", "host", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    ControlSlot slots[4];
    plugin.InitiateControllers(host, slots);

    HWND dialog = nullptr;
    {
        std::optional<ModalRun> run;
        if (name == "about") {
            run.emplace([&] { plugin.DllAbout(nullptr); });
            dialog = Dialogs::Find("About Tavik_DI");
        } else if (name == "test") {
            run.emplace([&] { plugin.DllTest(nullptr); });
            dialog = Dialogs::Find("Tavik_Di - Test dialog");
            if (dialog) {
                Dialogs::Click(dialog, IDC_TEST_LAUNCH);
                WaitUntil([&] { return Dialogs::Text(dialog, IDC_TEST_LOG).find("Test Finish") != std::string::npos; },
                          15000);
            }
        } else {
            run.emplace([&] { plugin.DllConfig(nullptr); });
            dialog = Dialogs::Find("Tavik_Di Plugin Configuration");
            if (dialog && name == "pak") {
                Dialogs::Choose(dialog, IDC_CONTROLLER_LIST, 1);
                Dialogs::Click(dialog, IDC_PAK);
                dialog = Dialogs::Find("Tavik_Di - Pak of N64 Controller 2");
            } else if (dialog && name != "config") {
                const bool joystick = name == "joystick" || name == "xinput";
                Dialogs::Choose(dialog, IDC_CONTROLLER_LIST, name == "xinput" ? 2 : joystick ? 1 : 0);
                Dialogs::Click(dialog, IDC_SETTINGS);
                dialog = Dialogs::Find(joystick ? "Tavik_Di - Joystick Setting" : "Tavik_Di - Keyboard Setting");
            }
        }
        if (!dialog) {
            std::fprintf(stderr, "dialog_shots: the %s dialog did not open\n", name.c_str());
            return 1;
        }
        // Wine under Xvfb leaves a dialog opened over the configuration dialog undrawn until it
        // moves: the pak dialog is shown beside it.
        if (name == "pak") SetWindowPos(dialog, HWND_TOP, 400, 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        WaitUntil([] { return false; }, 500);  // let it paint
        RECT rect{};
        GetWindowRect(dialog, &rect);
        if (FILE* ready = std::fopen(argv[2], "w")) {
            std::fprintf(ready, "%ldx%ld+%ld+%ld\n", rect.right - rect.left, rect.bottom - rect.top, rect.left, rect.top);
            std::fclose(ready);
        }
        WaitUntil([&] { return Exists(argv[3]); }, 30000);
    }  // the run cancels its dialogs and ends
    plugin.Unload();
    DestroyWindow(host);
    TestRegistry::DeletePluginKey();
    return 0;
}
