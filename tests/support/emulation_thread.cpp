#include "emulation_thread.h"

#include "dialog_driver.h"

#include <cstring>

namespace {
constexpr DWORD kFrameMs = 16;
}  // namespace

EmulationThread::EmulationThread(const PluginApi& plugin) : getKeys_(plugin.GetKeys) {
    thread_ = CreateThread(nullptr, 0, Run, this, 0, &threadId_);
}

EmulationThread::~EmulationThread() { Stop(); }

bool EmulationThread::Stop(DWORD timeoutMs) {
    if (!thread_) return true;
    stop_ = true;
    if (WaitForSingleObject(thread_, timeoutMs) != WAIT_OBJECT_0) return false;
    CloseHandle(thread_);
    thread_ = nullptr;
    return true;
}

DWORD WINAPI EmulationThread::Run(void* param) {
    auto* self = static_cast<EmulationThread*>(param);
    while (!self->stop_) {
        for (int controller = 0; controller < 4; ++controller) {
            ButtonState word{};
            const ULONGLONG start = GetTickCount64();
            self->getKeys_(controller, &word);
            const DWORD took = static_cast<DWORD>(GetTickCount64() - start);
            if (took > self->longestPollMs_) self->longestPollMs_ = took;
            uint32_t bits = 0;
            std::memcpy(&bits, &word, sizeof bits);
            self->last_[controller] = bits;
        }
        ++self->frames_;
        Sleep(kFrameMs);
    }
    return 0;
}

bool EmulationThread::WaitFrames(uint64_t count, DWORD timeoutMs) const {
    const uint64_t target = frames_ + count;
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    while (frames_ < target) {
        if (GetTickCount64() >= deadline) return false;
        Sleep(5);
    }
    return true;
}

ButtonState EmulationThread::Last(int controller) const {
    const uint32_t bits = last_[controller];
    ButtonState word;
    std::memcpy(&word, &bits, sizeof word);
    return word;
}

DialogRounds OpenConfigureAndTestWhilePolling(const PluginApi& plugin, HWND window, const EmulationThread& emulation,
                                              int rounds) {
    DialogRounds result;
    DialogCloser user({"Tavik_Di Plugin Configuration", "Tavik_Di - Test dialog"});
    for (int round = 0; round < rounds; ++round) {
        for (PluginApi::WithWindow_t dialog : {plugin.DllConfig, plugin.DllTest}) {
            const uint64_t before = emulation.Frames();
            dialog(window);
            if (emulation.Frames() > before) ++result.openedWhilePolling;
        }
    }
    result.closed = user.Closed();
    return result;
}
