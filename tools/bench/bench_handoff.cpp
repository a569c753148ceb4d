// One netplay hand-off (a GetKeys poll while a game runs, with a library that answers at once)
// against a bare two-thread event ping-pong, the least such a meeting of two threads can cost.
#include "bench_timing.h"
#include "fake_dinput.h"
#include "fake_kaillera.h"
#include "message_box_catcher.h"
#include "netplay_switch.h"
#include "plugin_api.h"
#include "registry_fixture.h"
#include "test_window.h"
#include "watchdog.h"

#include <atomic>
#include <cstdio>
#include <thread>

namespace {

constexpr int kCalls = 5000;

double PingPongNanoseconds() {
    HANDLE ping = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    HANDLE pong = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    std::atomic<bool> stop{false};
    std::thread partner([&] {
        for (;;) {
            WaitForSingleObject(ping, INFINITE);
            if (stop) return;
            SetEvent(pong);
        }
    });
    const double nanoseconds = Bench::BestNanosecondsPerCall(kCalls, [&] {
        SetEvent(ping);
        WaitForSingleObject(pong, INFINITE);
    });
    stop = true;
    SetEvent(ping);
    partner.join();
    CloseHandle(ping);
    CloseHandle(pong);
    return nanoseconds;
}

}  // namespace

int BenchHandoff() {
    FakeDinput devices;
    devices.AddKeyboard();
    FakeKaillera library;
    MessageBoxCatcher boxes;
    TestRegistry::DeletePluginKey();
    TestRegistry::WriteNumber("Controller0", "DIDevice", 0);
    TestRegistry::WriteRaw("Kaillera", "Dll", library.Path());
    TestRegistry::WriteRaw("Kaillera", "PlayAs", "0");
    TestWindow window("Tavik_DI bench");
    PluginApi plugin;
    if (!plugin.Load()) return 1;
    ControlSlot slots[4];
    plugin.InitiateControllers(window.Handle(), slots);
    if (const std::string problem = EnableNetplayInConfigDialog(plugin, window.Handle()); !problem.empty()) {
        std::fprintf(stderr, "bench: %s\n", problem.c_str());
        return 1;
    }
    std::atomic<bool> opened{false};
    std::thread romOpen([&] {
        plugin.RomOpen();
        opened = true;
    });
    library.WaitServerDialog();
    library.StartGame("bench", 1, 2);
    WaitUntil([&] { return opened.load(); }, 10000);
    romOpen.join();

    const double handoff = Bench::BestNanosecondsPerCall(kCalls, [&] { plugin.Poll(1); });
    const double pingPong = PingPongNanoseconds();
    std::printf("netplay hand-off (GetKeys in a game)  %9.0f ns\n", handoff);
    std::printf("  bare two-thread event ping-pong     %9.0f ns\n", pingPong);
    std::printf("  ratio                               %9.2fx  (target <= 1.5x)\n", handoff / pingPong);

    plugin.RomClosed();
    library.CloseServerDialog();
    plugin.Unload();
    TestRegistry::DeletePluginKey();
    return 0;
}
