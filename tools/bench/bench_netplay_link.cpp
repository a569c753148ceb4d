// Two hosts of one game over a link of 50 ms one way, the client's frame delay D = 4, each host
// pacing its frames at 60 Hz as an emulator does: the frames per second of the full-speed game
// (one exchange per round of polls) against the classic one (one exchange per poll) on that link.
#include "bench_timing.h"
#include "netplay_bench.h"

#include <cstdlib>
#include <string>

namespace {

constexpr int32_t kOneWayMs = 50;
constexpr int32_t kFrameDelay = 4;
constexpr double kPaceHz = 60.0;
constexpr int kWarmUpFrames = 10;  // past the client's set-up and the first D rounds
constexpr DWORD kHostsMs = 120000;

double Seconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return double(to.QuadPart - from.QuadPart) / double(frequency.QuadPart);
}

// One host's frames per second over `frames` frames, each polling the four controllers, at most
// kPaceHz; a late frame is not caught up.
double PacedFps(PluginApi& plugin, int frames) {
    LARGE_INTEGER start{}, now{}, next{};
    QueryPerformanceCounter(&next);
    for (int frame = 0; frame < kWarmUpFrames + frames; ++frame) {
        if (frame == kWarmUpFrames) QueryPerformanceCounter(&start);
        for (int controller = 0; controller < 4; ++controller) plugin.Poll(controller);
        LARGE_INTEGER frequency;
        QueryPerformanceFrequency(&frequency);
        next.QuadPart += LONGLONG(double(frequency.QuadPart) / kPaceHz);
        QueryPerformanceCounter(&now);
        if (now.QuadPart < next.QuadPart) Sleep(DWORD(Seconds(now, next) * 1000.0));
        else next = now;
    }
    QueryPerformanceCounter(&now);
    return frames / Seconds(start, now);
}

// Runs this program as both hosts of a game of `mode`; the slower host's rate, which is the
// game's (the faster one waits for it).
double GameFps(const char* mode, const char* program) {
    const std::string channel = std::string("bench-link-") + mode + "-" + std::to_string(GetCurrentProcessId());
    HANDLE hosts[2] = {};
    for (int player = 1; player <= 2; ++player) {
        std::string command = std::string(program) + " link-host " + std::to_string(player) + " " + channel + " " + mode;
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process{};
        if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
            return 0;
        CloseHandle(process.hThread);
        hosts[player - 1] = process.hProcess;
    }
    const bool ended = WaitForMultipleObjects(2, hosts, TRUE, kHostsMs) == WAIT_OBJECT_0;
    double fps = 1e9;
    for (HANDLE host : hosts) {
        DWORD centiFps = 0;
        if (!ended) TerminateProcess(host, 0);
        GetExitCodeProcess(host, &centiFps);
        fps = std::min(fps, centiFps / 100.0);
        CloseHandle(host);
    }
    return fps;
}

}  // namespace

// One host of the benchmark's game: its frames per second, times 100, is its exit code (0: failed).
int BenchNetplayLinkHost(int player, const char* channel, const char* mode) {
    const bool fullSpeed = std::string(mode) == "fullspeed";
    NetplayBench bench;
    bench.library.SetClientMode(500, kFrameDelay);
    bench.library.SetOneWayDelay(kOneWayMs);
    if (!bench.library.JoinRelay(channel, player - 1, 2) || !bench.Start(false)) return 0;
    bench.OpenRomIntoGame(fullSpeed ? kFullSpeedGame : "Unknown N64 Game", player);
    const double fps = PacedFps(bench.plugin, fullSpeed ? 300 : 30);
    bench.End(false);
    return int(fps * 100.0);
}

int BenchNetplayLink(const char* program) {
    FakeKaillera library;  // for its path
    NetplayBench::StoreSettings(library.Path());
    const double classic = GameFps("classic", program);
    const double fullSpeed = GameFps("fullspeed", program);
    TestRegistry::DeletePluginKey();
    std::printf("netplay, 50 ms one way, D = 4, hosts paced at 60 Hz\n");
    std::printf("  full-speed game (an exchange per round) %7.1f fps  (target >= 59)\n", fullSpeed);
    std::printf("  classic game (an exchange per poll)     %7.1f fps\n", classic);
    std::printf("  ratio                                   %7.1fx\n", classic > 0 ? fullSpeed / classic : 0.0);
    return classic > 0 && fullSpeed > 0 ? 0 : 1;
}
