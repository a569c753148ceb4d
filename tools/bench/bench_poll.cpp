// A GetKeys poll against a bare GetDeviceState on the same device: Wine's own keyboard.
#define DIRECTINPUT_VERSION 0x0700
#include <windows.h>
#include <dinput.h>

#include "bench_timing.h"
#include "plugin_api.h"
#include "registry_fixture.h"
#include "test_window.h"

#include <cstdio>

int BenchPoll() {
    TestRegistry::DeletePluginKey();
    TestRegistry::WriteNumber("Controller0", "DIDevice", 0);  // the keyboard, default layout
    TestWindow window("Tavik_DI bench");
    window.Focus();
    PluginApi plugin;
    if (!plugin.Load()) return 1;
    ControlSlot slots[4];
    plugin.InitiateControllers(window.Handle(), slots);

    IDirectInput7A* directInput = nullptr;
    IDirectInputDevice7A* keyboard = nullptr;
    DirectInputCreateEx(GetModuleHandleA(nullptr), DIRECTINPUT_VERSION, IID_IDirectInput7A,
                        reinterpret_cast<void**>(&directInput), nullptr);
    directInput->CreateDeviceEx(GUID_SysKeyboard, IID_IDirectInputDevice7A, reinterpret_cast<void**>(&keyboard),
                                nullptr);
    keyboard->SetDataFormat(&c_dfDIKeyboard);
    keyboard->SetCooperativeLevel(window.Handle(), DISCL_NONEXCLUSIVE | DISCL_FOREGROUND);
    keyboard->Acquire();

    BYTE keys[256];
    plugin.Poll(0);  // creates the plug-in's devices
    const double bare = Bench::BestNanosecondsPerCall(20000, [&] { keyboard->GetDeviceState(sizeof keys, keys); });
    const double poll = Bench::BestNanosecondsPerCall(20000, [&] { plugin.Poll(0); });
    std::printf("GetKeys poll (Wine keyboard)          %9.0f ns\n", poll);
    std::printf("  bare GetDeviceState, same keyboard  %9.0f ns\n", bare);
    std::printf("  ratio                               %9.2fx  (target < 1.2x)\n", poll / bare);

    keyboard->Unacquire();
    keyboard->Release();
    directInput->Release();
    plugin.Unload();
    TestRegistry::DeletePluginKey();
    return 0;
}
