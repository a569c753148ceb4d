// Device-table set-up with a keyboard and 19 joysticks (the fake DirectInput), and the memory a
// host has with the plug-in loaded and polling.
#include "bench_timing.h"
#include "fake_dinput.h"
#include "message_box_catcher.h"
#include "plugin_api.h"
#include "registry_fixture.h"
#include "test_window.h"

#include <psapi.h>

#include <cstdio>

int BenchCreateDevices() {
    FakeDinput devices;
    devices.AddKeyboard();
    for (int i = 0; i < 19; ++i) devices.AddJoystick();
    TestRegistry::DeletePluginKey();
    TestWindow window("Tavik_DI bench");
    PluginApi plugin;
    if (!plugin.Load()) return 1;
    ControlSlot slots[4];
    plugin.InitiateControllers(window.Handle(), slots);
    // RomOpen creates the table; RomClosed releases it, so each pair sets all 20 devices up again.
    const double createAndRelease = Bench::BestNanosecondsPerCall(200, [&] {
        plugin.RomOpen();
        plugin.RomClosed();
    });
    std::printf("CreateDevices, 1 keyboard + 19 joysticks %9.1f us (with their release)\n", createAndRelease / 1000);
    plugin.Unload();
    return 0;
}

namespace {
SIZE_T PeakWorkingSet() {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return counters.PeakWorkingSetSize;
}
}  // namespace

int BenchMemory() {
    FakeDinput devices;
    devices.AddKeyboard();
    devices.AddJoystick();
    TestRegistry::DeletePluginKey();
    TestRegistry::WriteNumber("Controller0", "DIDevice", 0);
    MessageBoxCatcher boxes;
    TestWindow window("Tavik_DI bench");
    const SIZE_T bareHost = PeakWorkingSet();

    PluginApi plugin;
    if (!plugin.Load()) return 1;
    ControlSlot slots[4];
    plugin.InitiateControllers(window.Handle(), slots);
    plugin.RomOpen();
    for (int frame = 0; frame < 10000; ++frame)
        for (int controller = 0; controller < 4; ++controller) plugin.Poll(controller);
    plugin.RomClosed();
    const SIZE_T withPlugin = PeakWorkingSet();
    std::printf("peak working set, host with plug-in   %9.1f MiB (40000 polls)\n", withPlugin / 1048576.0);
    std::printf("  bare host before loading it         %9.1f MiB\n", bareHost / 1048576.0);
    std::printf("  ratio                               %9.2fx  (+%.1f MiB)\n", double(withPlugin) / double(bareHost),
                (double(withPlugin) - double(bareHost)) / 1048576.0);
    plugin.Unload();
    TestRegistry::DeletePluginKey();
    return 0;
}
