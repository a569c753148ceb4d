// The plug-in's benchmarks. Each runs in a process of its own (scripts/bench.sh), since they need
// different DirectInputs: Wine's own keyboard, or the fake devices.
#include "bench_timing.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char** argv) {
    const char* mode = argc > 1 ? argv[1] : "";
    if (!std::strcmp(mode, "poll")) return BenchPoll();
    if (!std::strcmp(mode, "pad-poll")) return BenchPadPoll();
    if (!std::strcmp(mode, "xinput-poll")) return BenchXInputPoll();
    if (!std::strcmp(mode, "port-poll")) return BenchPortPoll();
    if (!std::strcmp(mode, "handoff")) return BenchHandoff();
    if (!std::strcmp(mode, "waiting-game")) return BenchWaitingGame();
    if (!std::strcmp(mode, "create-devices")) return BenchCreateDevices();
    if (!std::strcmp(mode, "rebuild-poll")) return BenchRebuildPoll();
    if (!std::strcmp(mode, "memory")) return BenchMemory();
    if (!std::strcmp(mode, "netplay-link")) return BenchNetplayLink(argv[0]);
    if (!std::strcmp(mode, "link-host") && argc == 5) return BenchNetplayLinkHost(std::atoi(argv[2]), argv[3], argv[4]);
    std::fprintf(stderr, "usage: tavik_bench poll | pad-poll | xinput-poll | port-poll | handoff | waiting-game | create-devices | "
                         "rebuild-poll | memory | netplay-link\n");
    return 2;
}
