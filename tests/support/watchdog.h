// Turns a hang into a failure: every test runs under a deadline, and a crash ends the program with
// a message instead of a debugger window.
#pragma once

#include <windows.h>

namespace testing {
class TestEventListeners;
}

// Installs the per-test deadline and the crash handler. `seconds` applies to each test.
void InstallWatchdog(testing::TestEventListeners& listeners, DWORD seconds);
// Gives the running test `seconds` from now instead, for a case that is long by design.
void ExtendWatchdog(DWORD seconds);

// Waits for `condition` to hold, pumping this thread's messages (windows owned by the test thread
// must keep answering) until `timeoutMs` has passed. Returns whether it held.
template <typename Condition>
bool WaitUntil(Condition condition, DWORD timeoutMs = 5000);

void PumpMessages();

// How much longer than on the build machine itself a wait may take: TAVIK_TIME_SCALE (a whole
// factor, default 1), which scripts/test-x86.sh sets for the emulated 32-bit path.
DWORD ScaledWait(DWORD milliseconds);

template <typename Condition>
bool WaitUntil(Condition condition, DWORD timeoutMs) {
    const ULONGLONG deadline = GetTickCount64() + ScaledWait(timeoutMs);
    for (;;) {
        PumpMessages();
        if (condition()) return true;
        if (GetTickCount64() >= deadline) return false;
        Sleep(5);
    }
}
