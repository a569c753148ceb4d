// A GetKeys poll against a bare read of the same device: Wine's own keyboard, and a two-stick pad
// of the test DirectInput mapped through axis directions and a hat.
#define DIRECTINPUT_VERSION 0x0700
#include <windows.h>
#include <dinput.h>

#include "bench_timing.h"
#include "fake_dinput.h"
#include "plugin_api.h"
#include "registry_fixture.h"
#include "test_window.h"

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
    TestWindow window("Tavik_DI bench");
    const GUID fakeDevice1 = {0x7A710001, 0xD1A0, 0x11EF, {0x80, 0x00, 'T', 'A', 'V', 'I', 'K', 'I'}};
    return ComparePoll(window, {"pad: axes, hat", fakeDevice1, &c_dfDIJoystick, sizeof(DIJOYSTATE),
                                DISCL_NONEXCLUSIVE | DISCL_BACKGROUND, true});
}
