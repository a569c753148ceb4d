// A GetKeys poll against a bare read of the same device (Wine's own keyboard), and a pad's poll
// through axis directions and a hat against the same pad's through buttons.
#define DIRECTINPUT_VERSION 0x0700
#include <windows.h>
#include <dinput.h>
#include <xinput.h>

#include "bench_timing.h"
#include "config/xinput_device.h"
#include "fake_dinput.h"
#include "fake_xinput.h"
#include "plugin_api.h"
#include "registry_fixture.h"
#include "test_window.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

// Loads the plug-in, whose start-up reads the settings stored so far, and hands it `window`.
bool LoadPlugin(PluginApi& plugin, const TestWindow& window) {
    if (!plugin.Load()) return false;
    ControlSlot slots[4];
    plugin.InitiateControllers(window.Handle(), slots);
    return true;
}

struct BareDevice {
    const char* what;  // names the two figures
    GUID instance;
    const DIDATAFORMAT* format;
    DWORD stateSize;
    DWORD cooperativeFlags;
    bool polled;
};

// Controller 0 as stored in the registry, polled through the plug-in, against the same device read
// directly: what composing the word adds to the read itself.
int ComparePoll(TestWindow& window, const BareDevice& bare) {
    PluginApi plugin;
    if (!LoadPlugin(plugin, window)) return 1;

    IDirectInput7A* directInput = nullptr;
    IDirectInputDevice7A* device = nullptr;
    DirectInputCreateEx(GetModuleHandleA(nullptr), DIRECTINPUT_VERSION, IID_IDirectInput7A,
                        reinterpret_cast<void**>(&directInput), nullptr);
    directInput->CreateDeviceEx(bare.instance, IID_IDirectInputDevice7A, reinterpret_cast<void**>(&device), nullptr);
    device->SetDataFormat(bare.format);
    device->SetCooperativeLevel(window.Handle(), bare.cooperativeFlags);
    device->Acquire();

    BYTE state[256];
    plugin.Poll(0);  // creates the plug-in's devices
    const double direct = Bench::BestNanosecondsPerCall(20000, [&] {
        if (bare.polled) device->Poll();
        device->GetDeviceState(bare.stateSize, state);
    });
    const double poll = Bench::BestNanosecondsPerCall(20000, [&] { plugin.Poll(0); });
    std::printf("GetKeys poll (%s)%*s %9.0f ns\n", bare.what, static_cast<int>(24 - std::strlen(bare.what)), "", poll);
    std::printf("  bare read, same device               %9.0f ns\n", direct);
    std::printf("  ratio                                %9.2fx  (target < 1.2x)\n", poll / direct);

    device->Unacquire();
    device->Release();
    directInput->Release();
    plugin.Unload();
    TestRegistry::DeletePluginKey();
    return 0;
}

}  // namespace

int BenchPoll() {
    TestRegistry::DeletePluginKey();
    TestRegistry::WriteNumber("Controller0", "DIDevice", 0);  // the keyboard, default layout
    TestWindow window("Tavik_DI bench");
    window.Focus();
    return ComparePoll(window, {"Wine keyboard", GUID_SysKeyboard, &c_dfDIKeyboard, 256,
                                DISCL_NONEXCLUSIVE | DISCL_FOREGROUND, false});
}

// A pad mapped through axis directions and a hat (the pad layout) against the same pad mapped as
// every build could (the Adaptoid layout: buttons and axis selectors), both on the test DirectInput,
// whose reads cost next to nothing: what the new kinds of input add to composing the word.
int BenchPadPoll() {
    FakeDinput devices;
    devices.AddKeyboard();
    const int32_t pad = devices.AddJoystick("Pad");
    devices.SetJoystickObjects(pad, 0xFF, 1);
    devices.SetAxis(pad, 4, -50);  // C-up held through the right stick
    devices.SetPov(pad, 0, 9000);  // d-pad right
    TestRegistry::DeletePluginKey();
    ControllerConfig record{};
    ApplyPadDefaults(record, 1);
    TestRegistry::WriteRecord("Controller0", record);
    ApplyAdaptoidDefaults(record, 1);
    TestRegistry::WriteRecord("Controller1", record);
    TestWindow window("Tavik_DI bench");
    PluginApi plugin;
    if (!LoadPlugin(plugin, window)) return 1;

    const ButtonState word = plugin.Poll(0);  // creates the plug-in's devices
    // Taken in turns, so that neither gains from running later on a warmer machine.
    double buttons = 1e300, axes = 1e300;
    for (int turn = 0; turn < 3; ++turn) {
        buttons = std::min(buttons, Bench::BestNanosecondsPerCall(20000, [&] { plugin.Poll(1); }));
        axes = std::min(axes, Bench::BestNanosecondsPerCall(20000, [&] { plugin.Poll(0); }));
    }
    std::printf("GetKeys poll (pad: axis directions, hat) %7.0f ns  (buttons 0x%04X)\n", axes, word.buttons);
    std::printf("  same pad, buttons and axes only        %7.0f ns\n", buttons);
    std::printf("  ratio                                  %7.2fx  (target < 1.2x)\n", axes / buttons);
    plugin.Unload();
    TestRegistry::DeletePluginKey();
    return 0;
}

// An XInput-mapped controller polled through its sticks, a trigger and buttons (the pad layout)
// against a bare XInputGetState of the same pad (the test XInput, a lock and a copy), and against
// the same pad through DirectInput (the test DirectInput) with the same layout.
int BenchXInputPoll() {
    FakeDinput devices;
    devices.AddKeyboard();
    const int32_t twin = devices.AddJoystick("Pad");
    devices.SetJoystickObjects(twin, 0xFF, 1);
    FakeXInput pads;
    pads.SetConnected(0, true);
    pads.Set(0, {XInputButton::A, 200, 90, 20000, -20000, -30000, 30000});
    TestRegistry::DeletePluginKey();
    ControllerConfig record{};
    record.DeadZone = 10;  // worked out on the poll, since XInput has no properties
    ApplyPadDefaults(record, XInputDeviceOf(0));
    TestRegistry::WriteRecord("Controller0", record);
    ApplyPadDefaults(record, 1);
    TestRegistry::WriteRecord("Controller1", record);
    TestWindow window("Tavik_DI bench");
    PluginApi plugin;
    if (!LoadPlugin(plugin, window)) return 1;

    ButtonState word{};
    for (int wait = 0; wait < 200 && word.buttons == 0; ++wait, Sleep(10)) word = plugin.Poll(0);  // found off the poll
    plugin.Poll(1);  // creates the DirectInput devices
    using GetState = DWORD(WINAPI*)(DWORD, XINPUT_STATE*);
    const auto getState = reinterpret_cast<GetState>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("xinput1_4.dll"), "XInputGetState")));
    XINPUT_STATE state;
    double poll = 1e300, bare = 1e300, direct = 1e300, none = 1e300;
    for (int turn = 0; turn < 3; ++turn) {
        bare = std::min(bare, Bench::BestNanosecondsPerCall(20000, [&] { getState(0, &state); }));
        poll = std::min(poll, Bench::BestNanosecondsPerCall(20000, [&] { plugin.Poll(0); }));
        direct = std::min(direct, Bench::BestNanosecondsPerCall(20000, [&] { plugin.Poll(1); }));
        none = std::min(none, Bench::BestNanosecondsPerCall(20000, [&] { plugin.Poll(3); }));
    }
    std::printf("GetKeys poll (XInput pad: sticks, triggers) %5.0f ns  (buttons 0x%04X)\n", poll, word.buttons);
    std::printf("  bare XInputGetState, same pad              %5.0f ns\n", bare);
    std::printf("  ratio                                      %5.2fx  (target <= 1.2x)\n", poll / bare);
    std::printf("  same pad through DirectInput, same layout  %5.0f ns  (%.2fx)\n", direct, poll / direct);
    std::printf("  GetKeys of a controller without a device   %5.0f ns\n", none);
    plugin.Unload();
    TestRegistry::DeletePluginKey();
    return 0;
}
