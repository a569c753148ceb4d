// The plug-in's benchmarks. Each runs in a process of its own (scripts/bench.sh), since they need
// different DirectInputs: Wine's own keyboard, or the fake devices.
#include "bench_timing.h"

#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
    const char* mode = argc > 1 ? argv[1] : "";
    if (!std::strcmp(mode, "poll")) return BenchPoll();
    if (!std::strcmp(mode, "pad-poll")) return BenchPadPoll();
    if (!std::strcmp(mode, "xinput-poll")) return BenchXInputPoll();
    if (!std::strcmp(mode, "port-poll")) return BenchPortPoll();
    if (!std::strcmp(mode, "handoff")) return BenchHandoff();
    if (!std::strcmp(mode, "create-devices")) return BenchCreateDevices();
    if (!std::strcmp(mode, "memory")) return BenchMemory();
    std::fprintf(stderr, "usage: tavik_bench poll | pad-poll | xinput-poll | port-poll | handoff | create-devices | memory\n");
    return 2;
}
