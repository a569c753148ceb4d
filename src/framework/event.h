// A Windows event with one owner: closed with its owner, and waited for only with a time-out.
#pragma once

#include "framework/unique_handle.h"

#include <windows.h>

class Event {
public:
    constexpr Event() = default;

    // Drops any event held before. False when the system refused the event.
    bool Create(const char* name, bool manualReset, bool signalled);
    explicit operator bool() const { return static_cast<bool>(handle_); }
    HANDLE Handle() const { return handle_.Get(); }

    void Set() const;
    void Reset() const;
    // True when the event was signalled within `timeoutMs`.
    bool Wait(DWORD timeoutMs) const;

private:
    UniqueKernelHandle handle_;
};

// Waits for `wanted` or `alarm`, whichever comes first; true only for `wanted`.
bool WaitUnless(const Event& wanted, const Event& alarm, DWORD timeoutMs);
// Sets `signal` and waits for `wanted` in one step, so the thread that `signal` wakes runs at once.
bool SignalAndWait(const Event& signal, const Event& wanted, DWORD timeoutMs);
