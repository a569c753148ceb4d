// One netplay hand-off (a GetKeys poll while a game runs, with a library that answers at once)
// against a bare two-thread event ping-pong, the least such a meeting of two threads can cost.
#include "bench_timing.h"
#include "netplay_bench.h"
#include "fake_dinput.h"
#include "fake_kaillera.h"
#include "message_box_catcher.h"
#include "netplay_switch.h"
#include "plugin_api.h"
#include "process_cpu.h"
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
    NetplayBench bench;
    if (!bench.Start()) return 1;
    bench.OpenRomIntoGame("bench");
    PluginApi& plugin = bench.plugin;
    const double handoff = Bench::BestNanosecondsPerCall(kCalls, [&] { plugin.Poll(1); });
    const double pingPong = PingPongNanoseconds();
    std::printf("netplay hand-off (GetKeys in a game)  %9.0f ns\n", handoff);
    std::printf("  bare two-thread event ping-pong     %9.0f ns\n", pingPong);
    std::printf("  ratio                               %9.2fx  (target <= 1.5x)\n", handoff / pingPong);
    bench.End();
    return 0;
}

// A game started in the library's window after RomClosed waits for the next ROM: what it costs
// the process meanwhile.
int BenchWaitingGame() {
    constexpr DWORD kMeasureMs = 3000;
    NetplayBench bench;
    bench.library.SetClientMode(100);
    if (!bench.Start()) return 1;
    bench.OpenRomIntoGame("first");
    bench.plugin.RomClosed();
    bench.library.WaitGameEnd();
    bench.library.StartGame("waiting", 1, 2);
    Sleep(200);
    const double before = ProcessCpuMs();
    Sleep(kMeasureMs);
    const double used = ProcessCpuMs() - before;
    std::printf("waiting game, CPU of the process     %9.0f ms per %lu ms\n", used, kMeasureMs);
    bench.End();
    return 0;
}
