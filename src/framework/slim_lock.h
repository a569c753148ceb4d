// An exclusive lock that needs no code to construct, so an object initialised before any code of
// the library runs can hold one. Meets the standard's Lockable shape for std::lock_guard.
#pragma once

#include <windows.h>

class SlimLock {
public:
    constexpr SlimLock() = default;
    SlimLock(const SlimLock&) = delete;
    SlimLock& operator=(const SlimLock&) = delete;

    void lock() { AcquireSRWLockExclusive(&lock_); }
    void unlock() { ReleaseSRWLockExclusive(&lock_); }

private:
    SRWLOCK lock_ = SRWLOCK_INIT;
};
