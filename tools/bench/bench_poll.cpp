// A GetKeys poll against a bare read of the same device (Wine's own keyboard), and a pad's poll
// through axis directions and a hat against the same pad's through buttons.
#define DIRECTINPUT_VERSION 0x0700
#include <windows.h>
#include <dinput.h>

#include "bench_timing.h"
#include "fake_dinput.h"
#include "plugin_api.h"
#include "registry_fixture.h"
#include "test_window.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

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
    if (!plugin.Load()) return 1;
    ControlSlot slots[4];
    plugin.InitiateControllers(window.Handle(), slots);

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
    if (!plugin.Load()) return 1;
    ControlSlot slots[4];
    plugin.InitiateControllers(window.Handle(), slots);

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
