#include "watchdog.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>

namespace {

// What the watchdog thread reads. Never freed: the thread runs until the process ends, after
// GoogleTest has deleted its listeners.
struct WatchdogState {
    DWORD seconds = 0;
    HANDLE armed = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::atomic<ULONGLONG> deadline{0};
    char testName[256] = {};
};

WatchdogState* installed = nullptr;

DWORD WINAPI WatchTests(void* param) {
    auto* state = static_cast<WatchdogState*>(param);
    for (;;) {
        WaitForSingleObject(state->armed, INFINITE);
        if (GetTickCount64() > state->deadline.load()) {
            std::fprintf(stderr, "\nWATCHDOG: %s did not finish within %lu s; the program is ended.\n",
                         state->testName, static_cast<unsigned long>(state->seconds));
            std::fflush(stderr);
            TerminateProcess(GetCurrentProcess(), 97);
        }
        Sleep(50);
    }
}

class Watchdog : public testing::EmptyTestEventListener {
public:
    explicit Watchdog(DWORD seconds) : seconds_(seconds), state_(new WatchdogState) {
        state_->seconds = seconds;
        installed = state_;
        CreateThread(nullptr, 0, WatchTests, state_, 0, nullptr);
    }

    void OnTestStart(const testing::TestInfo& info) override {
        std::snprintf(state_->testName, sizeof state_->testName, "%s.%s", info.test_suite_name(), info.name());
        state_->seconds = seconds_;
        state_->deadline = GetTickCount64() + seconds_ * 1000ull;
        SetEvent(state_->armed);
    }
    void OnTestEnd(const testing::TestInfo&) override { ResetEvent(state_->armed); }

private:
    DWORD seconds_;
    WatchdogState* state_;
};

LONG WINAPI ReportCrash(EXCEPTION_POINTERS* info) {
    std::fprintf(stderr, "\nCRASH: exception 0x%08lx at %p\n", info->ExceptionRecord->ExceptionCode,
                 info->ExceptionRecord->ExceptionAddress);
    std::fflush(stderr);
    TerminateProcess(GetCurrentProcess(), 98);
    return EXCEPTION_EXECUTE_HANDLER;
}

}  // namespace

void InstallWatchdog(testing::TestEventListeners& listeners, DWORD seconds) {
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
    SetUnhandledExceptionFilter(ReportCrash);
    listeners.Append(new Watchdog(ScaledWait(seconds * 1000) / 1000));
}

DWORD ScaledWait(DWORD milliseconds) {
    static const DWORD scale = [] {
        const char* text = std::getenv("TAVIK_TIME_SCALE");
        const long value = text ? std::strtol(text, nullptr, 10) : 1;
        return static_cast<DWORD>(value >= 1 && value <= 20 ? value : 1);
    }();
    return milliseconds * scale;
}

void ExtendWatchdog(DWORD seconds) {
    if (!installed) return;
    installed->seconds = ScaledWait(seconds * 1000) / 1000;
    installed->deadline = GetTickCount64() + installed->seconds * 1000ull;
}

void PumpMessages() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}
