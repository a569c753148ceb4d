// Windows events with one owner each, closed with their owner. The reset kind is part of the type,
// so a declaration shows whether a waiter's wake-up stays signalled (an alarm that every waiter
// sees until it is reset) or is taken by the one waiter it wakes.
#pragma once

#include "framework/unique_handle.h"

#include <windows.h>

class EventBase {
public:
    explicit operator bool() const { return static_cast<bool>(handle_); }
    HANDLE Handle() const { return handle_.Get(); }

    void Set() const;
    void Reset() const;
    // True when the event was signalled within `timeoutMs`.
    bool Wait(DWORD timeoutMs) const;

protected:
    constexpr EventBase() = default;
    // Drops any event held before. False when the system refused the event.
    bool Create(const char* name, bool manualReset, bool signalled);

private:
    UniqueKernelHandle handle_;
};

// Stays signalled until reset: every waiter sees it.
class ManualResetEvent : public EventBase {
public:
    constexpr ManualResetEvent() = default;
    bool Create(const char* name, bool signalled) { return EventBase::Create(name, true, signalled); }
};

// Wakes one waiter and is reset by that wake-up.
class AutoResetEvent : public EventBase {
public:
    constexpr AutoResetEvent() = default;
    bool Create(const char* name, bool signalled) { return EventBase::Create(name, false, signalled); }
};

// Waits for `wanted` or `alarm`, whichever comes first; true only for `wanted`.
bool WaitUnless(const EventBase& wanted, const EventBase& alarm, DWORD timeoutMs);
// Sets `signal` and waits for `wanted` in one step, so the thread that `signal` wakes runs at once.
bool SignalAndWait(const EventBase& signal, const EventBase& wanted, DWORD timeoutMs);
