#include "framework/event.h"

bool EventBase::Create(const char* name, bool manualReset, bool signalled) {
    handle_.Reset(CreateEventA(nullptr, manualReset, signalled, name));
    return static_cast<bool>(handle_);
}

void EventBase::Set() const {
    if (handle_) SetEvent(handle_.Get());
}

void EventBase::Reset() const {
    if (handle_) ResetEvent(handle_.Get());
}

bool EventBase::Wait(DWORD timeoutMs) const {
    return handle_ && WaitForSingleObject(handle_.Get(), timeoutMs) == WAIT_OBJECT_0;
}

bool WaitUnless(const EventBase& wanted, const EventBase& alarm, DWORD timeoutMs) {
    if (!wanted || !alarm) return false;
    const HANDLE handles[] = {wanted.Handle(), alarm.Handle()};
    return WaitForMultipleObjects(2, handles, FALSE, timeoutMs) == WAIT_OBJECT_0;
}

bool SignalAndWait(const EventBase& signal, const EventBase& wanted, DWORD timeoutMs) {
    if (!signal || !wanted) return false;
    return SignalObjectAndWait(signal.Handle(), wanted.Handle(), timeoutMs, FALSE) == WAIT_OBJECT_0;
}
