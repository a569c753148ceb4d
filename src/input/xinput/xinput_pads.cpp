#include "input/xinput/xinput_pads.h"

#include "input/xinput/xinput_library.h"

#include <cstring>
#include <mutex>
#include <utility>

namespace {
constexpr DWORD kAskIntervalMs = 1000;
// A pad no poll has read for this long is not looked for: the game has stopped or been remapped.
constexpr DWORD kWantedForMs = 2000;
constexpr DWORD kRetryStartMs = 1000;
// A watcher is at most inside one XInputGetState; a finished one is gone at once.
constexpr DWORD kEndWaitMs = 2000;
}  // namespace

bool XInputPads::Read(int32_t index, XInputGamepad& out) {
    Pad& pad = pads_[index];
    if (pad.connected.load(std::memory_order_acquire)) {
        // Set before any pad is connected, so a poll never binds the library itself.
        XINPUT_STATE state;
        if (functions_.load(std::memory_order_relaxed)->getState(static_cast<DWORD>(index), &state) == ERROR_SUCCESS) {
            std::memcpy(&out, &state.Gamepad, sizeof out);
            return true;
        }
        pad.connected.store(false);
    }
    // Only a missing pad's wanting matters to the watcher, so a pad that reads costs no clock.
    const DWORD now = GetTickCount();
    pad.wantedAt.store(now ? now : 1, std::memory_order_relaxed);
    if (!watching_.load() && library_.load(std::memory_order_relaxed) != LibraryAbsent) StartWatcher();
    return false;
}

void XInputPads::StartWatcher() {
    const std::lock_guard lock(lock_);
    const DWORD failedAt = lastStartFailure_.load();
    if (failedAt && GetTickCount() - failedAt < kRetryStartMs) return;
    // Claimed before the thread exists, so that one ending at this moment cannot also take the work back.
    if (watching_.exchange(true)) return;
    // One on its way out is not waited for here, on a poll: it ends by itself after at most one
    // look, holding the library loaded until it has.
    watcher_ = ModuleThread{};
    lastStartFailure_.store(0);
    if (stop_ || stop_.Create(nullptr, false)) {
        stop_.Reset();
        watcher_ = StartModuleThread(WatchMain, this);
    }
    if (watcher_) return;
    watching_.store(false);
    lastStartFailure_.store(GetTickCount() | 1);  // tried again a second later, not on every poll
}

void XInputPads::Close() {
    ModuleThread ending;
    {
        const std::lock_guard lock(lock_);
        ending = std::exchange(watcher_, ModuleThread{});
        stop_.Set();
    }
    if (ending) WaitForSingleObject(ending.handle.Get(), kEndWaitMs);
}

DWORD WINAPI XInputPads::WatchMain(void* self) {
    static_cast<XInputPads*>(self)->Watch();
    return 0;
}

int XInputPads::AskMissing() {
    const XInputFunctions* xinput = XInputLibrary();  // the first need binds it, here and not on a poll
    functions_.store(xinput, std::memory_order_relaxed);  // published by each pad's `connected`
    library_.store(xinput ? LibraryPresent : LibraryAbsent, std::memory_order_relaxed);
    const DWORD now = GetTickCount();
    int missing = 0;
    for (int index = 0; index < kXInputPadCount; ++index) {
        Pad& pad = pads_[index];
        const DWORD wantedAt = pad.wantedAt.load(std::memory_order_relaxed);
        // Signed: a poll may have stored a tick later than `now`.
        if (pad.connected.load() || !wantedAt || static_cast<int32_t>(now - wantedAt) > int32_t{kWantedForMs}) continue;
        XINPUT_STATE state;
        if (xinput && xinput->getState(static_cast<DWORD>(index), &state) == ERROR_SUCCESS)
            pad.connected.store(true, std::memory_order_release);
        else
            ++missing;
    }
    return xinput ? missing : 0;  // without a library there is nothing to wait for
}

void XInputPads::Watch() {
    for (;;) {
        if (AskMissing() == 0) {
            watching_.store(false);
            // A poll may have missed a pad since, and seen this watcher still running: take the
            // work back unless a new watcher has it already.
            if (AskMissing() == 0 || watching_.exchange(true)) return;
        }
        if (stop_.Wait(kAskIntervalMs)) {
            watching_.store(false);
            return;
        }
    }
}
