// Device-table set-up with a keyboard and 19 joysticks (the fake DirectInput), the longest poll of
// an emulation thread while the table is rebuilt, and the memory a host has with the plug-in loaded
// and polling.
#include "bench_timing.h"
#include "dialog_driver.h"
#include "emulation_thread.h"
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

// An emulation thread polls at 60 Hz while the window thread closes Configure and then a pad is
// plugged in, each enumeration taking as long as a slow driver makes it.
int BenchRebuildPoll() {
    constexpr int kEnumerationMs = 250;
    constexpr DWORD kFindLimitMs = 6000;
    FakeDinput devices;
    devices.AddKeyboard();
    TestRegistry::DeletePluginKey();
    TestRegistry::WriteNumber("Controller0", "DIDevice", 0);
    ControllerConfig pad{};
    ApplyAdaptoidDefaults(pad, 1);  // the pad to come: A on its first button
    TestRegistry::WriteRecord("Controller1", pad);
    MessageBoxCatcher boxes;
    TestWindow window("Tavik_DI bench");
    PluginApi plugin;
    if (!plugin.Load()) return 1;
    ControlSlot slots[4];
    plugin.InitiateControllers(window.Handle(), slots);
    plugin.RomOpen();
    devices.SetEnumerationDelay(kEnumerationMs);
    EmulationThread emulation(plugin);
    emulation.WaitFrames(10);
    {
        DialogCloser user({"Tavik_Di Plugin Configuration"});
        plugin.DllConfig(window.Handle());
    }
    emulation.WaitFrames(4 * kEnumerationMs / 16 + 30);  // the table rebuilt and swapped in
    const double afterConfigure = emulation.LongestPollMicroseconds() / 1000.0;

    const int32_t late = devices.AddJoystick("Late pad");
    devices.SetButton(late, 0, true);
    const ULONGLONG plugged = GetTickCount64();
    while (emulation.Last(1).buttons == 0 && GetTickCount64() - plugged < kFindLimitMs) Sleep(10);
    const ULONGLONG found = GetTickCount64() - plugged;
    emulation.WaitFrames(10);
    const double longest = emulation.LongestPollMicroseconds() / 1000.0;
    emulation.Stop();
    plugin.RomClosed();
    plugin.CloseDLL();
    std::printf("longest poll, Configure closed (enumeration %d ms) %9.2f ms  (target < 5 ms)\n", kEnumerationMs,
                afterConfigure);
    std::printf("longest poll, then a pad plugged in             %9.2f ms  (target < 5 ms)\n", longest);
    if (emulation.Last(1).buttons)
        std::printf("  pad plugged in found after                    %9lu ms  (target about 2000 ms)\n",
                    static_cast<unsigned long>(found));
    else
        std::printf("  pad plugged in not found within               %9lu ms\n", static_cast<unsigned long>(found));
    plugin.Unload();
    TestRegistry::DeletePluginKey();
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
