#include "watchdog.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <string>

namespace {

class Watchdog : public testing::EmptyTestEventListener {
public:
    explicit Watchdog(DWORD seconds) : seconds_(seconds), armed_(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {
        CreateThread(nullptr, 0, &Watchdog::Run, this, 0, nullptr);
    }

    void OnTestStart(const testing::TestInfo& info) override {
        name_ = std::string(info.test_suite_name()) + "." + info.name();
        deadline_ = GetTickCount64() + seconds_ * 1000ull;
        SetEvent(armed_);
    }
    void OnTestEnd(const testing::TestInfo&) override { ResetEvent(armed_); }

private:
    static DWORD WINAPI Run(void* param) {
        auto* self = static_cast<Watchdog*>(param);
        for (;;) {
            WaitForSingleObject(self->armed_, INFINITE);
            if (GetTickCount64() > self->deadline_.load()) {
                std::fprintf(stderr, "\nWATCHDOG: %s did not finish within %lu s; the program is ended.\n",
                             self->name_.c_str(), static_cast<unsigned long>(self->seconds_));
                std::fflush(stderr);
                TerminateProcess(GetCurrentProcess(), 97);
            }
            Sleep(50);
        }
    }

    DWORD seconds_;
    HANDLE armed_;
    std::string name_;
    std::atomic<ULONGLONG> deadline_{0};
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
    listeners.Append(new Watchdog(seconds));
}

void PumpMessages() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}
