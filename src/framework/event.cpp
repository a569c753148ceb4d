#include "framework/event.h"

bool Event::Create(const char* name, bool manualReset, bool signalled) {
    handle_.Reset(CreateEventA(nullptr, manualReset, signalled, name));
    return static_cast<bool>(handle_);
}

void Event::Set() const {
    if (handle_) SetEvent(handle_.Get());
}

void Event::Reset() const {
    if (handle_) ResetEvent(handle_.Get());
}

bool Event::Wait(DWORD timeoutMs) const {
    return handle_ && WaitForSingleObject(handle_.Get(), timeoutMs) == WAIT_OBJECT_0;
}

bool WaitUnless(const Event& wanted, const Event& alarm, DWORD timeoutMs) {
    if (!wanted || !alarm) return false;
    const HANDLE handles[] = {wanted.Handle(), alarm.Handle()};
    return WaitForMultipleObjects(2, handles, FALSE, timeoutMs) == WAIT_OBJECT_0;
}

bool SignalAndWait(const Event& signal, const Event& wanted, DWORD timeoutMs) {
    if (!signal || !wanted) return false;
    return SignalObjectAndWait(signal.Handle(), wanted.Handle(), timeoutMs, FALSE) == WAIT_OBJECT_0;
}
