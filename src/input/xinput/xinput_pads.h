// The four XInput pads the polls read, with one owner. A poll reads a pad that is there and finds
// one that has gone; asking for a pad that is missing is slow on Windows, so that is left to a
// watcher thread, which asks at most once a second while a poll wants the pad, and ends once
// nothing is missing. A poll takes no lock unless it has to start the watcher.
#pragma once

#include "config/xinput_device.h"
#include "framework/event.h"
#include "framework/module_thread.h"
#include "framework/slim_lock.h"
#include "input/xinput/xinput_gamepad.h"
#include "input/xinput/xinput_library.h"

#include <windows.h>

#include <atomic>

class XInputPads {
public:
    constexpr XInputPads() = default;
    XInputPads(const XInputPads&) = delete;
    XInputPads& operator=(const XInputPads&) = delete;

    // Poll side. The state of pad `pad` (0..3) into `out`; false, with `out` untouched, while the
    // pad is missing (also before the library is bound, which the watcher does).
    bool Read(int32_t pad, XInputGamepad& out);
    // Ends the watcher, waiting for it a bounded time: not for DllMain. A later poll that misses a
    // pad starts another.
    void Close();

private:
    static DWORD WINAPI WatchMain(void* self);
    void Watch();
    // Asks each wanted pad that is missing once; returns how many are still missing.
    int AskMissing();
    void StartWatcher();

    struct Pad {
        std::atomic<bool> connected{false};
        std::atomic<DWORD> wantedAt{0};  // tick of the last poll that found it missing; 0 never
    };
    Pad pads_[kXInputPadCount];
    enum Library : int { LibraryUnknown, LibraryPresent, LibraryAbsent };
    std::atomic<const XInputFunctions*> functions_{nullptr};
    std::atomic<int> library_{LibraryUnknown};  // as the watcher found it: without one, none is started
    std::atomic<bool> watching_{false};  // a watcher runs and will look at every missing pad
    std::atomic<DWORD> lastStartFailure_{0};
    SlimLock lock_;  // starting and ending the watcher
    ModuleThread watcher_;
    ManualResetEvent stop_;  // once set, the watcher ends
};
