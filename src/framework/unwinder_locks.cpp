// The i686 build unwinds exceptions by tables that the static unwinder registers at every load
// (before DllMain) and drops at unload. Its registry took a once-flag and a lock from winpthreads,
// and winpthreads keeps, per load, what no unload gives back: a record of the loading thread with
// two handles, a TLS slot (the slots run out after about a thousand loads) and the heap blocks
// behind its locks. The build renames the registry's four calls to these (src/CMakeLists.txt);
// a slim lock lives in the registry's own storage and needs nothing created or freed.
#include <windows.h>

#include <cstdint>

// The registry's lock and flag are a pthread_mutex_t (intptr_t) and a pthread_once_t (long).
static_assert(sizeof(SRWLOCK) == sizeof(intptr_t));

extern "C" {

int tavik_unwinder_once(volatile long* done, void (*init)()) {
    static SRWLOCK guard = SRWLOCK_INIT;
    if (InterlockedCompareExchange(done, 0, 0)) return 0;
    AcquireSRWLockExclusive(&guard);
    if (!*done) {
        init();
        InterlockedExchange(done, 1);
    }
    ReleaseSRWLockExclusive(&guard);
    return 0;
}

int tavik_unwinder_mutex_init(SRWLOCK* lock, const void*) {
    InitializeSRWLock(lock);
    return 0;
}

int tavik_unwinder_mutex_lock(SRWLOCK* lock) {
    AcquireSRWLockExclusive(lock);
    return 0;
}

int tavik_unwinder_mutex_unlock(SRWLOCK* lock) {
    ReleaseSRWLockExclusive(lock);
    return 0;
}
}
