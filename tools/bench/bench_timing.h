// Timing helpers shared by the benchmarks.
#pragma once

#include <windows.h>

#include <algorithm>

namespace Bench {

inline constexpr int kRounds = 7;

// Nanoseconds per call of `call`, the best of kRounds runs of `calls` calls: the minimum is the
// figure least disturbed by the rest of the machine.
template <typename Call>
double BestNanosecondsPerCall(int calls, Call call) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    double best = 1e300;
    for (int round = 0; round < kRounds; ++round) {
        LARGE_INTEGER start, end;
        QueryPerformanceCounter(&start);
        for (int i = 0; i < calls; ++i) call();
        QueryPerformanceCounter(&end);
        best = std::min(best, double(end.QuadPart - start.QuadPart) * 1e9 / double(frequency.QuadPart) / calls);
    }
    return best;
}

}  // namespace Bench

// One benchmark each; they print their figures and return the process exit code.
int BenchPoll();
int BenchPadPoll();
int BenchXInputPoll();
int BenchPortPoll();
int BenchHandoff();
int BenchWaitingGame();
int BenchCreateDevices();
int BenchRebuildPoll();
int BenchMemory();
int BenchNetplayLink(const char* program);
// One of the two hosts that BenchNetplayLink starts.
int BenchNetplayLinkHost(int player, const char* channel, const char* mode);
